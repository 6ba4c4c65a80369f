#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

// Checks on a dialog as it is drawn: no control lies over another, and no text is cut.
namespace orvalis::test {

inline void expectTidyLayout(QWidget& dialog) {
    QList<QWidget*> controls;
    for (QWidget* w : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisible() && !w->isWindow()) controls.push_back(w);
    ASSERT_GE(controls.size(), 3);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QWidget* a = controls[i];
        EXPECT_TRUE(dialog.rect().contains(a->geometry())) << a->metaObject()->className();
        // A text wider than its control is cut off.
        int needed = 0;
        if (auto* b = qobject_cast<QAbstractButton*>(a)) {
            needed = b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&'));
            if (qobject_cast<QCheckBox*>(a))
                needed += b->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b);
        } else if (auto* l = qobject_cast<QLabel*>(a)) {
            needed = l->minimumSizeHint().width();
        }
        EXPECT_GE(a->width(), needed) << a->metaObject()->className();
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(a->geometry().intersects(controls[j]->geometry()))
                << a->metaObject()->className() << " over "
                << controls[j]->metaObject()->className();
    }
}

// The dialog's picture, kept as a PNG when ORVALIS_SCREENSHOTS names a folder.
inline void grabDialog(QWidget& dialog, const std::string& name) {
    const QPixmap picture = dialog.grab();
    EXPECT_FALSE(picture.isNull());
    const QString dir = qEnvironmentVariable("ORVALIS_SCREENSHOTS");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(picture.save(dir + '/' + QString::fromStdString(name) + ".png"));
    }
}

// Runs act on the modal dialog that the next exec() shows, once it is up.
inline void onNextModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start(20);
}

}  // namespace orvalis::test

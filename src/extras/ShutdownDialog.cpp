#include "extras/ShutdownDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace orvalis {

namespace {

constexpr std::array<ShutdownMode, 3> kBoxes{ShutdownMode::AtEnd, ShutdownMode::AtTime,
                                             ShutdownMode::AfterDelay};

QString qs(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

ShutdownDialog::ShutdownDialog(SettingsStore& store, bool mediumLoaded, QWidget* parent,
                               ShutdownScheduler::Clock clock)
    : QDialog(parent),
      store_(store),
      clock_(orSystemClock(std::move(clock))),
      model_(store, localDateTime(clock_()), mediumLoaded) {
    build();
    showModel();
    showClock();
    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("titleClock"));
    connect(clockTimer_, &QTimer::timeout, this, &ShutdownDialog::showClock);
    clockTimer_->start(kShutdownClockMs);
}

void ShutdownDialog::build() {
    using namespace shutdown_text;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    const std::array<const char*, 3> labels{kAtEndBox, kAtTimeBox, kAfterDelayBox};
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const ShutdownMode mode = kBoxes[i];
        QCheckBox* b = new QCheckBox(qs(labels[i]), this);
        boxes_[i] = b;
        connect(b, &QCheckBox::toggled, this, [this, mode](bool on) {
            model_.setChecked(mode, on);
            showModel();
        });
    }
    grid->addWidget(boxes_[0], 0, 0, 1, 3);

    date_ = new QDateEdit(this);
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date_->setDateRange(QDate(1970, 1, 1), QDate(9999, 12, 31));
    time_ = new QTimeEdit(this);
    time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    grid->addWidget(boxes_[1], 1, 0);
    grid->addWidget(date_, 1, 1);
    grid->addWidget(time_, 1, 2);
    connect(date_, &QDateEdit::dateChanged, this,
            [this](QDate d) { model_.setDate(d.year(), d.month(), d.day()); });
    connect(time_, &QTimeEdit::timeChanged, this,
            [this](QTime t) { model_.setTime(t.hour(), t.minute(), t.second()); });

    delays_ = new QComboBox(this);
    for (const ShutdownDelay& d : kShutdownDelays) delays_->addItem(qs(d.text));
    grid->addWidget(boxes_[2], 2, 0);
    grid->addWidget(delays_, 2, 1, 1, 2);
    connect(delays_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.setDelayIndex(index); });

    auto* warning = new QLabel(qs(kWarningForced) + '\n' + qs(kWarningDataLost), this);
    warning->setObjectName(QStringLiteral("warning"));

    ok_ = new QPushButton(qs(kOkButton), this);
    cancel_ = new QPushButton(qs(kCancelButton), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &ShutdownDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &ShutdownDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addSpacing(6);
    column->addWidget(warning);
    column->addSpacing(6);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

// Draws the model: which box is checked and which may be, the pickers and the delay.
void ShutdownDialog::showModel() {
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const QSignalBlocker quiet(boxes_[i]);
        boxes_[i]->setEnabled(model_.isEnabled(kBoxes[i]));
        boxes_[i]->setChecked(model_.isChecked(kBoxes[i]));
    }
    const LocalDateTime& p = model_.picked();
    const QSignalBlocker quietDate(date_);
    const QSignalBlocker quietTime(time_);
    const QSignalBlocker quietDelays(delays_);
    date_->setDate(QDate(p.year, p.month, p.day));
    time_->setTime(QTime(p.hour, p.minute, p.second));
    delays_->setCurrentIndex(model_.delayIndex());
}

void ShutdownDialog::showClock() {
    setWindowTitle(QString::fromStdString(shutdownDialogTitle(localDateTime(clock_()))));
}

QCheckBox* ShutdownDialog::box(ShutdownMode mode) const {
    for (std::size_t i = 0; i < kBoxes.size(); ++i)
        if (kBoxes[i] == mode) return boxes_[i];
    return nullptr;
}

void ShutdownDialog::accept() {
    choice_ = model_.accept(store_);
    QDialog::accept();
}

std::optional<ShutdownChoice> ShutdownDialog::ask(QWidget* parent, SettingsStore& store,
                                                  bool mediumLoaded) {
    QPointer<ShutdownDialog> dialog = new ShutdownDialog(store, mediumLoaded, parent);
    const int result = dialog->exec();
    // The parent may have gone while the dialog ran its own event loop.
    if (!dialog) return std::nullopt;
    std::optional<ShutdownChoice> choice =
        result == QDialog::Accepted ? dialog->choice() : std::nullopt;
    delete dialog;
    return choice;
}

}  // namespace orvalis

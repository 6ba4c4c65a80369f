#include <gtest/gtest.h>

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "controls/IconButton.h"
#include "controls/Icons.h"
#include "controls/RepeatBar.h"
#include "controls/Slider.h"

using namespace orvalis::controls;

TEST(Icons, EveryIconIsDrawnInsideItsGrid) {
    for (int i = 0; i <= static_cast<int>(Icon::FoldBack); ++i) {
        const QPainterPath path = iconPath(static_cast<Icon>(i));
        ASSERT_FALSE(path.isEmpty()) << i;
        const QRectF box = path.boundingRect();
        // Nothing is cut off at the button's edge, and nothing is a speck.
        EXPECT_GE(box.left(), 0.5) << i;
        EXPECT_GE(box.top(), 0.5) << i;
        EXPECT_LE(box.right(), 15.5) << i;
        EXPECT_LE(box.bottom(), 15.5) << i;
        EXPECT_GT(std::max(box.width(), box.height()), 7) << i;
    }
    // Filled at twice the size (a HiDPI screen): the pixels are the icon's colour, centred.
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintIcon(p, Icon::Stop, QRectF(0, 0, 64, 64), Qt::white);
    p.end();
    EXPECT_EQ(image.pixelColor(32, 32), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(4, 4).alpha(), 0);
}

TEST(IconButton, LeavesKeysToItsParentAndShowsItsLitPicture) {
    QWidget parent;
    auto* button = new IconButton(Icon::Speaker, &parent);
    button->setLitIcon(Icon::SpeakerMuted);
    QSignalSpy clicks(button, &IconButton::clicked);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 0);  // Space is play/pause, not a click on whatever was last used
    EXPECT_EQ(button->currentIcon(), Icon::Speaker);
    button->setLit(true);
    EXPECT_EQ(button->currentIcon(), Icon::SpeakerMuted);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
}

TEST(Slider, SeekSliderPreviewsUnderThePointerAndHidesOnLeave) {
    QWidget window;
    window.resize(300, 40);
    auto* slider = new Slider(SliderGesture::Mode::Seek, Slider::Look::Bar, &window);
    slider->setGeometry(0, 0, 201, 15);
    slider->setRange(0, 2000);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy previews(slider, &Slider::previewed);
    QSignalSpy letGo(slider, &Slider::letGo);
    QSignalSpy commits(slider, &Slider::committed);

    // A hover, as the window system sends it (QTest moves the real pointer for hovers).
    QMouseEvent hover(QEvent::MouseMove, QPointF(100, 7), slider->mapToGlobal(QPointF(100, 7)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(slider, &hover);
    ASSERT_GE(previews.count(), 1);
    EXPECT_EQ(previews.last().at(0).toInt(), 1000);
    EXPECT_FALSE(previews.last().at(1).toBool());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(slider, &leave);
    EXPECT_EQ(letGo.count(), 1);
    EXPECT_EQ(commits.count(), 0);  // hovering never seeks

    // The right button is the bar's (it opens files), not the slider's.
    QTest::mouseClick(slider, Qt::RightButton, Qt::NoModifier, QPoint(50, 7));
    EXPECT_EQ(commits.count(), 0);
}

TEST(RepeatBar, PressWithoutLengthEditsNothing) {
    QWidget window;
    auto* bar = new RepeatBar(&window);
    bar->setGeometry(0, 0, 300, 6);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy dragged(bar, &RepeatBar::rangeDragged);
    QSignalSpy ended(bar, &RepeatBar::rangeDragEnded);
    bar->setLength(0);  // a stream
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(10, 3));
    QTest::mouseMove(bar, QPoint(200, 3));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(200, 3));
    EXPECT_EQ(dragged.count(), 0);
    EXPECT_EQ(ended.count(), 0);
}

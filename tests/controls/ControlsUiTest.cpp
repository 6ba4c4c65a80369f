#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "controls/IconButton.h"
#include "controls/Icons.h"
#include "controls/Slider.h"

using namespace orvalis::controls;

TEST(Icons, EveryIconIsDrawnInsideItsGrid) {
    for (int i = 0; i <= static_cast<int>(Icon::FoldBack); ++i) {
        const QPainterPath path = iconPath(static_cast<Icon>(i));
        ASSERT_FALSE(path.isEmpty()) << i;
        // Nothing is cut off at the button's edge, and nothing is a speck.
        const QRectF box = path.boundingRect();
        EXPECT_TRUE(QRectF(0.5, 0.5, 15, 15).contains(box)) << i;
        EXPECT_GT(std::max(box.width(), box.height()), 7) << i;
    }
}

TEST(IconButton, LeavesKeysToItsParentAndShowsItsLitPicture) {
    QWidget parent;
    auto* button = new IconButton(Icon::Speaker, &parent);
    button->setLitIcon(Icon::SpeakerMuted);
    QSignalSpy clicks(button, &IconButton::clicked);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 0);  // Space is play/pause, not a click on whatever was last used
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    button->setLit(true);
    EXPECT_EQ(button->currentIcon(), Icon::SpeakerMuted);
}

TEST(Slider, SeekSliderPreviewsUnderThePointerAndHidesOnLeave) {
    QWidget window;
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
    EXPECT_EQ(previews.last(), (QList<QVariant>{1000, false}));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(slider, &leave);
    EXPECT_EQ(letGo.count(), 1);
    // Hovering never seeks, and the right button is the bar's (it opens files).
    QTest::mouseClick(slider, Qt::RightButton, Qt::NoModifier, QPoint(50, 7));
    EXPECT_EQ(commits.count(), 0);
}

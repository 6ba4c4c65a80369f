// The caption painted into its image: fonts, the outline and the shadow, and the cache.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

#include "captions/CaptionRenderer.h"

using namespace orvalis;

namespace {

constexpr std::uint32_t kFill = 0x00FFFF;     // yellow, 0x00BBGGRR
constexpr std::uint32_t kOutline = 0x563412;  // a colour nothing else has

QRgb rgbOf(std::uint32_t colorref) {
    return qRgb(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

struct Shot {
    QImage image;
    QPoint at;
    int calls = 0;
};

// The caption image laid over a grey client area, as the video surface does.
QImage compose(const Shot& shot, QSize client) {
    QImage frame(client, QImage::Format_RGB32);
    frame.fill(qRgb(128, 128, 128));
    QPainter painter(&frame);
    if (!shot.image.isNull()) painter.drawImage(shot.at, shot.image);
    return frame;
}

// The smallest rectangle holding every pixel of the colour; empty when none has it.
QRect pixelsOf(const QImage& frame, QRgb colour) {
    QRect box;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if ((frame.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
    return box;
}

class RendererTest : public ::testing::Test {
protected:
    RendererTest() {
        renderer.imageChanged = [this](const QImage& image, QPoint at) {
            shot.image = image;
            shot.at = at;
            ++shot.calls;
        };
        renderer.setFont({"돋움", 24, true, false});
    }
    CaptionPicture lay(std::string_view caption, bool outline, int points = 24) {
        CaptionLayoutInput in;
        in.caption = caption;
        in.clientWidth = 640;
        in.clientHeight = 360;
        in.points = points;
        in.fontColour = kFill;
        in.outline = outline;
        in.outlineColour = kOutline;
        return layoutCaption(in, renderer);
    }
    CaptionRenderer renderer;
    Shot shot;
};

}  // namespace

TEST_F(RendererTest, AMissingFaceFallsBackToAKoreanOne) {
    const QString face = CaptionRenderer::resolveFace(QStringLiteral("돋움"));
    EXPECT_TRUE(face.startsWith(QStringLiteral("Nanum"))) << face.toStdString();
    EXPECT_EQ(CaptionRenderer::resolveFace(QStringLiteral("NanumMyeongjo")),
              QStringLiteral("NanumMyeongjo"));
    EXPECT_TRUE(QFontMetrics(renderer.font()).inFontUcs4(U'한'));
    EXPECT_EQ(renderer.font().pixelSize(), 32);  // 24 points at 96 dpi
    EXPECT_EQ(renderer.font().weight(), QFont::ExtraBold);
    EXPECT_EQ(renderer.font().styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
}

// The outline around the fill is checked on the real picture (CaptionScreenTest.cpp).
TEST_F(RendererTest, TheShadowIsOneOrTwoPixelsRightAndDown) {
    for (int points : {19, 20}) {
        renderer.setFont({"NanumGothic", points, true, false});
        renderer.present(lay("F3E2C1|그림자 Shadow", false, points));
        const QImage frame = compose(shot, {640, 360});
        const QRect fill = pixelsOf(frame, rgbOf(kFill));
        const QRect shadow = pixelsOf(frame, qRgb(0, 0, 0));
        const int offset = points < 20 ? 1 : 2;
        EXPECT_EQ(shadow.right() - fill.right(), offset) << points;
        EXPECT_EQ(shadow.bottom() - fill.bottom(), offset) << points;
    }
}

TEST_F(RendererTest, TheImageIsRebuiltOnlyWhenTheCaptionOrTheFontChanges) {
    const CaptionPicture picture = lay("F3E2C1|하나\nFF0000|둘", false);
    renderer.present(picture);
    renderer.present(picture);
    EXPECT_EQ(renderer.rebuilds(), 1);
    EXPECT_EQ(shot.calls, 1);
    renderer.setFont({"돋움", 24, true, false});  // the same font again
    renderer.present(picture);
    EXPECT_EQ(renderer.rebuilds(), 1);
    renderer.setFont({"돋움", 24, false, false});
    renderer.present(picture);
    EXPECT_EQ(renderer.rebuilds(), 2);

    // The image covers the lines only, red included.
    const QImage frame = compose(shot, {640, 360});
    EXPECT_FALSE(pixelsOf(frame, qRgb(255, 0, 0)).isEmpty());
    EXPECT_LT(shot.image.width(), 640);
    EXPECT_GT(shot.at.y(), 200);

    renderer.present(CaptionPicture{});
    EXPECT_TRUE(shot.image.isNull());
    renderer.present(CaptionPicture{});
    EXPECT_EQ(shot.calls, 3);
}

TEST_F(RendererTest, LinesOutsideTheWindowAreClipped) {
    const CaptionPicture picture = lay("F3E2C1|" + std::string(300, 'W'), true);
    renderer.present(picture);
    ASSERT_FALSE(shot.image.isNull());
    EXPECT_LE(shot.image.width(), 640);
    EXPECT_GE(shot.at.x(), 0);
    // Twenty lines and more, far above the window top: nothing is drawn outside.
    std::string tall;
    for (int i = 0; i < 25; ++i) tall += "F3E2C1|줄\n";
    renderer.present(lay(tall, false));
    EXPECT_GE(shot.at.y(), 0);
}

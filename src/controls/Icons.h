#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The player's own button pictures, drawn from paths so that they stay sharp at any scale.
// Each is designed on a 16 x 16 grid and filled in one colour.
namespace orvalis::controls {

enum class Icon {
    Open,
    Previous,
    Play,
    Pause,
    Stop,
    Next,
    Speaker,
    SpeakerMuted,
    RepeatStart,
    RepeatEnd,
    RepeatClear,
    Smoothing,
    Bold,
    Border,
    Captions,
    CaptionLarger,
    CaptionSmaller,
    CaptionUp,
    CaptionDown,
    CaptionLanguage,
    Minimize,
    Maximize,
    Quit,
    FoldBack,
};

// The icon's outline on the 16 x 16 grid.
QPainterPath iconPath(Icon icon);
// Fills the icon, scaled to the largest square that fits box, centred.
void paintIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour);

}  // namespace orvalis::controls

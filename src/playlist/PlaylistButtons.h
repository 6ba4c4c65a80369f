#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPainterPath>

#include "playlist/PlaylistController.h"

namespace orvalis {

// The window's chrome around the list: one dark look whatever the list's scheme.
struct PlaylistChrome {
    static QColor frame() { return QColor(0x23, 0x26, 0x2b); }
    static QColor border() { return QColor(0x3a, 0x3f, 0x47); }
    static QColor hover() { return QColor(0x3a, 0x40, 0x49); }
    static QColor pressed() { return QColor(0x4b, 0x53, 0x60); }
    static QColor icon() { return QColor(0xd7, 0xdc, 0xe2); }
    static QColor iconDisabled() { return QColor(0x62, 0x68, 0x71); }
    static QColor accent() { return QColor(0x6f, 0xb3, 0xff); }
};

// A button's picture as a filled outline on a 12 x 12 grid; drawn scaled, so it stays sharp
// at any size and pixel ratio.
QPainterPath playlistIcon(PlaylistButton which);

// A small flat button that draws its icon. A latched button stays drawn pressed (the Play
// button while a medium plays) until the player's state releases it; a click never latches.
class PlaylistIconButton final : public QAbstractButton {
    Q_OBJECT
public:
    PlaylistIconButton(PlaylistButton which, QWidget* parent);
    PlaylistButton which() const { return which_; }
    bool latched() const { return latched_; }
    void setLatched(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    PlaylistButton which_;
    bool hovered_ = false;
    bool latched_ = false;
};

}  // namespace orvalis

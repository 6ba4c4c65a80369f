#pragma once

#include <QAbstractButton>

#include "controls/Icons.h"

// A flat button that shows one of the player's vector icons. It never takes the keyboard
// focus (keys belong to the player window) and never checks itself: whoever owns it says
// whether it is lit, so it always shows the player's state, not the last click.
namespace orvalis::controls {

class IconButton : public QAbstractButton {
    Q_OBJECT
public:
    // Plain: lit shows in the icon's colour (the play state). Toggle: lit fills the button
    // with the accent (an option switched on).
    enum class Style { Plain, Toggle };

    explicit IconButton(Icon icon, QWidget* parent = nullptr, Style style = Style::Plain);

    void setIcon(Icon icon);
    // The picture shown while lit, when it differs (the muted speaker).
    void setLitIcon(Icon icon);
    void setLit(bool lit);
    bool isLit() const { return lit_; }
    Icon currentIcon() const { return lit_ ? litIcon_ : icon_; }

    QSize sizeHint() const override { return {23, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Keys are the player window's: Space must not press a button, nor the arrows move
    // between buttons.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    Icon icon_;
    Icon litIcon_;
    Style style_;
    bool lit_ = false;
    bool hovered_ = false;
};

}  // namespace orvalis::controls

#pragma once

#include <QColor>
#include <QFont>

// The colours and fonts the player's own controls share: a dark bar under the picture with
// light, quiet icons and one accent for what is switched on.
namespace orvalis::controls::theme {

QColor panelBackground();
QColor panelEdge();  // the hairline along the bar's top
QColor icon();
QColor iconHover();
QColor iconDisabled();
QColor accent();
QColor hoverFill();
QColor pressFill();
QColor litFill();
QColor groove();
QColor textPrimary();
QColor textSecondary();
QColor bookmark();
QColor repeatRange();

// A settings colour, 0x00BBGGRR.
QColor fromColorref(int colorref);

// Digits of equal width for the time texts, so they do not jitter as they count; a
// smaller size when a text would not fit its width (a hundred hours).
QFont timeFont();
QFont fittedFont(QFont font, const QString& text, int width);
// Korean-capable text at a point size (the title; 9 by default), kept to what fits a row
// of buttons.
QFont textFont(int pointSize);

}  // namespace orvalis::controls::theme

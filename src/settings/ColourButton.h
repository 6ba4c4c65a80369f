#pragma once

#include <QColor>
#include <QPushButton>

namespace orvalis {

// A COLORREF (0x00BBGGRR) as Qt's colour and back.
QColor colourOfRef(int colorref);
int refOfColour(const QColor& colour);

// A push button that shows a colour as a swatch before its text (or alone).
class ColourButton final : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(const QString& text, QWidget* parent = nullptr);
    void setColourRef(int colorref);
    int colourRef() const { return colorref_; }

private:
    int colorref_ = -1;
};

}  // namespace orvalis

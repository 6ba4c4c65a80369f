#pragma once

#include <QColor>
#include <QWidget>
#include <vector>

#include "controls/SliderScale.h"

class QPainter;

// The player's slider. As the seek track (Seek, Bar look) it fills from the left in the
// track colour, previews the time under the pointer and seeks once, on release. As a
// picture slider (Live, Groove look) it is a thin groove with a knob that reports every
// change while dragged. It never takes the keyboard focus, and leaves the wheel and the
// right button to its parent.
namespace orvalis::controls {

class Slider : public QWidget {
    Q_OBJECT
public:
    enum class Look { Bar, Groove };

    Slider(SliderGesture::Mode mode, Look look, QWidget* parent = nullptr);

    void setRange(int min, int max);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void setValue(int value);
    int value() const { return value_; }
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }
    // A lighter top and a darker bottom instead of a flat fill ("Use Gradient").
    void setGradient(bool on);
    // Ticks drawn on the bar (bookmarks), in the slider's units.
    void setMarks(std::vector<int> marks);
    const std::vector<int>& marks() const { return marks_; }
    bool dragging() const { return gesture_.dragging(); }

signals:
    void previewed(int value, bool dragging);
    void committed(int value);
    void changed(int value);
    void letGo();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateScale();
    void deliver(const std::vector<SliderEvent>& events);
    void paintBar(QPainter& p);
    void paintGroove(QPainter& p);
    // The value drawn: where a drag stands, else the player's value.
    int shownValue() const;

    Look look_;
    SliderGesture gesture_;
    int min_ = 0;
    int max_ = 0;
    int value_ = 0;
    QColor colour_{0x73, 0x73, 0x96};
    bool gradient_ = true;
    std::vector<int> marks_;
    double hoverX_ = -1;
};

}  // namespace orvalis::controls

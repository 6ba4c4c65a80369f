#pragma once

#include <QWidget>

#include "controls/RangeDrag.h"

// The thin bar under the seek track that shows the A-B repeat range and lets the mouse
// edit it: a drag from an empty place draws a new range, a drag on a mark moves that end.
namespace orvalis::controls {

class RepeatBar : public QWidget {
    Q_OBJECT
public:
    explicit RepeatBar(QWidget* parent = nullptr);

    // The medium's length in seconds; zero or unknown leaves nothing to edit.
    void setLength(double seconds);
    // The range the player holds, in seconds; A = 0 with B = 0 or B = the length is none.
    void setRange(double start, double end);
    TimeRange range() const { return drag_.range(); }
    bool dragging() const { return drag_.dragging(); }

signals:
    void rangeDragged(double start, double end);
    void rangeDragEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateGeometry();
    bool nearMark(double x) const;

    RangeDrag drag_;
    double length_ = 0;
};

}  // namespace orvalis::controls

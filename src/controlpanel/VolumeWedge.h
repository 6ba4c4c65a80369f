#pragma once

#include <QWidget>

#include "controlpanel/Wedge.h"

// The volume wedge of the transport bar: columns rising to the right, filled up to the
// volume. Pressing and dragging sets the volume; the drag holds on to the wedge wherever
// the pointer goes, and its value stays within the wedge's two ends.
namespace orvalis {

class VolumeWedge : public QWidget {
    Q_OBJECT
public:
    explicit VolumeWedge(QWidget* parent = nullptr);

    void showStep(int step);
    int fill() const { return drag_.fill(); }
    bool dragging() const { return drag_.dragging(); }

    // The wedge's pixels and the two white edges beside them.
    static QSize pixelSize() { return {panel::wedge::kWidth + 1, panel::wedge::kHeight + 1}; }

signals:
    void stepDragged(int step);
    void dragStarted();
    void dragEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    panel::wedge::Drag drag_;
};

}  // namespace orvalis

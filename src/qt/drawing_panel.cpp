#include "qt/drawing_panel.h"

#include "qt/scene_painter.h"
#include "qt/widget_design.h"

#include <QPainter>

namespace dieprofile {

DrawingPanel::DrawingPanel(const DrawingScene& scene, QWidget* parent)
    : QFrame(parent), scene_(scene) {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setAutoFillBackground(true);
    setPalette(DesignPalette(palette()));
}

void DrawingPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintDrawing(painter, scene_);
    drawFrame(&painter);
}

} // namespace dieprofile

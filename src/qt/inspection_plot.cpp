#include "qt/inspection_plot.h"

#include "inspection/report_page.h"
#include "qt/page_painter.h"

#include <QPainter>

namespace dieprofile {

InspectionPlot::InspectionPlot(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 360);
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    setPalette(paper);
}

void InspectionPlot::Show(const std::optional<InspectionDesign>& design,
                          const std::optional<Inspection>& inspection,
                          const std::optional<BoreWall>& recut) {
    design_ = design;
    inspection_ = inspection;
    recut_ = recut;
    update();
}

void InspectionPlot::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!design_ || !inspection_) {
        painter.drawText(rect(), Qt::AlignCenter, tr("Open a measured file to inspect it."));
        return;
    }
    // The widget as a piece of paper at the screen's own millimetre.
    const double dotsPerMm = logicalDpiX() / 25.4;
    Page page;
    page.WidthMm = width() / dotsPerMm;
    page.HeightMm = height() / dotsPerMm;
    LayOutInspectionPlot(page, {3, 3, page.WidthMm - 3, page.HeightMm - 3}, *design_, *inspection_,
                         recut_ ? &*recut_ : nullptr);
    PaintPage(painter, page, dotsPerMm);
}

} // namespace dieprofile

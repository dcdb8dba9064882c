#include "qt/set_plot.h"

#include "qt/page_painter.h"

#include <QPainter>

namespace dieprofile {

SetPlotWidget::SetPlotWidget(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMinimumSize(300, 360);
}

void SetPlotWidget::SetData(SetPlotData data) {
    data_ = std::move(data);
    update();
}

void SetPlotWidget::paintEvent(QPaintEvent* /*event*/) {
    // Laid out in pixels: a page of the widget's size, painted at one dot to its unit.
    Page page;
    page.WidthMm = width();
    page.HeightMm = height();
    constexpr double kInset = 8;
    LayOutSetPlot(page, {kInset, kInset, width() - 2 * kInset, height() - 2 * kInset}, data_,
                  font().pixelSize() > 0 ? font().pixelSize() : 11);
    QPainter painter(this);
    PaintPage(painter, page, 1);
}

} // namespace dieprofile

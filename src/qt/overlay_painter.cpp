#include "qt/overlay_painter.h"

#include "core/units.h"
#include "qt/widget_design.h"

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace dieprofile {

namespace {

// Thin lines: the profile a little heavier than the band, so the two are told apart under the
// projector's lamp.
double StrokeWidthMm(OverlayStroke stroke) {
    switch (stroke) {
    case OverlayStroke::Profile:
    case OverlayStroke::CheckBar:
        return 0.25;
    case OverlayStroke::Mark:
        return 0.18;
    case OverlayStroke::Axis:
    case OverlayStroke::Band:
        return 0.12;
    }
    return 0.12;
}

QPen StrokePen(OverlayStroke stroke, double dotsPerMm) {
    QPen pen(Qt::black);
    pen.setWidthF(StrokeWidthMm(stroke) * dotsPerMm);
    // Flat ends: the check bar and every line end exactly where their length says.
    pen.setCapStyle(stroke == OverlayStroke::Profile ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (stroke == OverlayStroke::Axis) {
        pen.setDashPattern({40, 15, 8, 15}); // in pen widths: long dash, dot
    }
    return pen;
}

QFont OverlayFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8);
    return font;
}

} // namespace

PrintableArea PrintableAreaOf(const QPagedPaintDevice& device, int resolution) {
    const QRect paint = device.pageLayout().paintRectPixels(resolution);
    const double mmPerDot = kMillimetresPerInch / resolution;
    return {paint.width() * mmPerDot, paint.height() * mmPerDot};
}

std::optional<QString> PaintOverlayPages(QPagedPaintDevice& device, int resolution,
                                         const OverlayPages& pages) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return QStringLiteral("the page could not be opened.");
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(OverlayFont());
    // The painter's origin is the top left of the printable area, in device dots.
    const double dotsPerMm = resolution / kMillimetresPerInch;
    const auto dots = [dotsPerMm](double x, double y) {
        return QPointF(x * dotsPerMm, y * dotsPerMm);
    };
    const QRectF tile(QPointF(0, 0), dots(pages.TileWidth, pages.TileHeight));
    bool first = true;
    for (const OverlayPage& page : pages.Pages) {
        if (!first && !device.newPage()) {
            painter.end();
            return QStringLiteral("a new page could not be started.");
        }
        first = false;
        painter.setClipRect(tile);
        for (const std::size_t index : page.Lines) {
            const PaperLine& line = pages.Lines[index];
            painter.setPen(StrokePen(line.Stroke, dotsPerMm));
            painter.drawLine(dots(line.Start.X - page.Origin.X, line.Start.Y - page.Origin.Y),
                             dots(line.End.X - page.Origin.X, line.End.Y - page.Origin.Y));
        }
        painter.setClipping(false);
        for (const PaperLine& line : pages.FooterLines) {
            painter.setPen(StrokePen(line.Stroke, dotsPerMm));
            painter.drawLine(dots(line.Start.X, line.Start.Y), dots(line.End.X, line.End.Y));
        }
        painter.setPen(Qt::black);
        painter.drawText(dots(pages.InfoAt.X, pages.InfoAt.Y), ToQString(pages.Info));
        painter.drawText(dots(pages.StatementAt.X, pages.StatementAt.Y),
                         ToQString(pages.Statement));
        const QString label = ToQString(page.Label);
        const QPointF labelEnd = dots(pages.LabelAt.X, pages.LabelAt.Y);
        painter.drawText(
            QPointF(labelEnd.x() - painter.fontMetrics().horizontalAdvance(label), labelEnd.y()),
            label);
    }
    if (!painter.end()) {
        return QStringLiteral("the pages could not be finished.");
    }
    return std::nullopt;
}

} // namespace dieprofile

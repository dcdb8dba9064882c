#include "qt/drawing_sheet.h"

#include "app/drawing_export.h"
#include "app/form_design.h"
#include "qt/scene_painter.h"
#include "qt/widget_design.h"

#include <QLocale>
#include <QPaintDevice>
#include <QPen>
#include <QPrinterInfo>
#include <algorithm>
#include <numeric>

namespace dieprofile {

namespace {

// The sheet is laid out in tenths of a millimetre.
constexpr double kUnitsPerMm = 10;
// The border: a filing margin on the left, 10 mm elsewhere.
constexpr double kLeftMargin = 200;
constexpr double kMargin = 100;
constexpr double kTitleWidth = 1200;
constexpr double kCaptionWidth = 380;
constexpr double kRowHeight = 52;
constexpr double kHeadingHeight = 110;
// Clear space between the drawing and the border or the title block.
constexpr double kDrawingInset = 80;
// The part of the panel the die drawing stands in (the left half inside the window's frame
// lines), in twips.
constexpr double kRegionLeft = 240;
constexpr double kRegionTop = 240;
constexpr double kRegionWidth = 7680 - 240;
constexpr double kRegionHeight = 9120 - 240;
// The window's value labels are 8.25-point text: 11 pixels at 96 dots per inch.
constexpr int kLabelPixels = 11;

QFont SheetFont(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QPen SheetPen(double width) {
    QPen pen(Qt::black);
    pen.setWidthF(width);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// Paints the value labels as the window's labels show them: the caption in its design box, centred
// or right-aligned, not clipped.
void PaintValueLabels(QPainter& painter, const DrawingScene& scene) {
    painter.setFont(SheetFont(kLabelPixels));
    painter.setPen(Qt::black);
    for (const LabelDesign& label : SceneLabels()) {
        const QRectF box(label.Left / double(kTwipsPerPixel), label.Top / double(kTwipsPerPixel),
                         label.Width / double(kTwipsPerPixel),
                         label.Height / double(kTwipsPerPixel));
        painter.drawText(box,
                         static_cast<int>(HorizontalAlignment(label.Alignment) | Qt::AlignTop |
                                          Qt::TextDontClip),
                         ToQString((scene.*label.Member).Caption));
    }
}

QFont CaptionFont() {
    return SheetFont(24);
}

QFont ValueFont(std::size_t row) {
    return SheetFont(28, row == 0);
}

// Each row is as tall as its value needs: a long blank name wraps onto a second line instead of
// running past the block.
std::vector<double> RowHeights(QPainter& painter, const std::vector<TitleRow>& rows) {
    const double valueWidth = kTitleWidth - kCaptionWidth - 40;
    std::vector<double> heights;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        painter.setFont(ValueFont(i));
        const QRectF needed =
            painter.boundingRect(QRectF(0, 0, valueWidth, 10 * kRowHeight),
                                 Qt::AlignLeft | Qt::TextWordWrap, ToQString(rows[i].Value));
        heights.push_back(std::max(kRowHeight, needed.height() + 16));
    }
    return heights;
}

void PaintTitleBlock(QPainter& painter, const QRectF& block, const std::vector<TitleRow>& rows,
                     const std::vector<double>& heights) {
    painter.setPen(SheetPen(5));
    painter.drawRect(block);
    const QRectF heading(block.left(), block.top(), block.width(), kHeadingHeight);
    painter.drawLine(heading.bottomLeft(), heading.bottomRight());
    painter.setFont(SheetFont(50, true));
    painter.drawText(heading.adjusted(30, 0, -30, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("DIE PROFILE"));
    painter.setFont(SheetFont(26));
    painter.drawText(heading.adjusted(30, 0, -30, 0), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Wire-drawing die: bore layout"));

    const double captionRight = block.left() + kCaptionWidth;
    painter.setPen(SheetPen(2));
    painter.drawLine(QPointF(captionRight, heading.bottom()),
                     QPointF(captionRight, block.bottom()));
    double top = heading.bottom();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) {
            painter.drawLine(QPointF(block.left(), top), QPointF(block.right(), top));
        }
        const QRectF caption(block.left() + 20, top, kCaptionWidth - 40, heights[i]);
        const QRectF value(captionRight + 20, top, block.right() - captionRight - 40, heights[i]);
        painter.setFont(CaptionFont());
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, ToQString(rows[i].Caption));
        painter.setFont(ValueFont(i));
        painter.drawText(value, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                         ToQString(rows[i].Value));
        top += heights[i];
    }
}

} // namespace

QPageSize SheetPageSize() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    const bool letter = !printer.isNull()
                            ? printer.defaultPageSize().id() == QPageSize::Letter
                            : QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

void PaintDrawingSheet(QPainter& painter, QSizeF paperMillimetres, const CalculatedDrawing& drawn,
                       const DrawingScene& scene, const QString& designName, QDate date) {
    const double devicePerMm = painter.device()->logicalDpiX() / 25.4;
    const double width = paperMillimetres.width() * kUnitsPerMm;
    const double height = paperMillimetres.height() * kUnitsPerMm;

    painter.save();
    painter.scale(devicePerMm / kUnitsPerMm, devicePerMm / kUnitsPerMm);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRectF(0, 0, width, height), Qt::white);

    const QRectF border(kLeftMargin, kMargin, width - kLeftMargin - kMargin, height - 2 * kMargin);
    painter.setPen(SheetPen(7));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(border);

    // The title block's rows, with a scale chosen for the drawing area that is left.
    const QRectF area(border.left() + kDrawingInset, border.top() + kDrawingInset,
                      border.width() - kTitleWidth - 2 * kDrawingInset,
                      border.height() - 2 * kDrawingInset);
    const double pixelsPerUnit = drawn.Frame.DrawScale / kTwipsPerPixel; // of the die's unit
    const double millimetresPerUnit = drawn.UnitDivisor;
    // Paper per true length, when one panel pixel is this many sheet units.
    const auto ratioFor = [&](double sheetUnitsPerPixel) {
        return sheetUnitsPerPixel / kUnitsPerMm * pixelsPerUnit / millimetresPerUnit;
    };
    const double fitting = std::min(area.width() / (kRegionWidth / kTwipsPerPixel),
                                    area.height() / (kRegionHeight / kTwipsPerPixel));
    const PaperScale scale = ChoosePaperScale(ratioFor(fitting));
    const double sheetUnitsPerPixel = fitting * scale.Ratio / ratioFor(fitting);

    const std::vector<TitleRow> rows =
        TitleBlockRows(TitleBlockOf(drawn, scene, designName.toStdString(), scale.Text,
                                    date.toString(Qt::ISODate).toStdString()));
    const std::vector<double> heights = RowHeights(painter, rows);
    const double blockHeight =
        std::accumulate(heights.begin(), heights.end(), static_cast<double>(kHeadingHeight));
    PaintTitleBlock(painter,
                    QRectF(border.right() - kTitleWidth, border.bottom() - blockHeight, kTitleWidth,
                           blockHeight),
                    rows, heights);

    // The scale statement under the drawing.
    painter.setFont(SheetFont(30));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.bottom(), area.width(), kDrawingInset),
                     Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("Scale %1   (lengths in %2)")
                         .arg(ToQString(scale.Text), ToQString(UnitName(drawn.UnitDivisor))));

    // The die drawing, centred in its area, drawn by the screen's own painter.
    const double drawnWidth = kRegionWidth / kTwipsPerPixel * sheetUnitsPerPixel;
    const double drawnHeight = kRegionHeight / kTwipsPerPixel * sheetUnitsPerPixel;
    painter.setClipRect(area);
    painter.translate(area.left() + (area.width() - drawnWidth) / 2,
                      area.top() + (area.height() - drawnHeight) / 2);
    painter.scale(sheetUnitsPerPixel, sheetUnitsPerPixel);
    painter.translate(-kRegionLeft / kTwipsPerPixel, -kRegionTop / kTwipsPerPixel);
    PaintDieDrawing(painter, scene);
    PaintValueLabels(painter, scene);
    painter.restore();
}

} // namespace dieprofile

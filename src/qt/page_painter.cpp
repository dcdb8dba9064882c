#include "qt/page_painter.h"

#include "core/units.h"
#include "qt/widget_design.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPolygonF>

namespace dieprofile {

namespace {

// Fine enough that rounding a line's end to the device grid costs far less than 0.01 mm.
constexpr int kPdfResolution = 1200;

// ISO 128 line types as dash and gap lengths in line widths, which is how QPen counts them too:
// a dash 12 d, a long dash 24 d, a gap 3 d, a dot 0.5 d.
QList<qreal> DashPattern(LineType type) {
    switch (type) {
    case LineType::Centre:
        return {24, 3, 0.5, 3};
    case LineType::Phantom:
        return {24, 3, 0.5, 3, 0.5, 3};
    case LineType::Dashed:
        return {12, 3};
    case LineType::Continuous:
        return {};
    }
    return {};
}

QColor ColourOf(PageColour rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QPen LinePen(double widthMm, LineType type, double dotsPerMm, PageColour colour) {
    QPen pen(ColourOf(colour));
    pen.setWidthF(widthMm * dotsPerMm);
    // Flat ends: a line ends exactly where its length says, and a dot is as long as drawn.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (type != LineType::Continuous) {
        pen.setDashPattern(DashPattern(type));
    }
    return pen;
}

QPointF Dots(Point point, double dotsPerMm) {
    return {point.X * dotsPerMm, point.Y * dotsPerMm};
}

// The face at the size whose capital letters stand capHeight device units tall on the painter's
// device.
QFont TextFont(const PageText& text, double capHeight, const QPaintDevice* device) {
    QFont font(text.Monospace ? QStringLiteral("Liberation Mono")
                              : QStringLiteral("Liberation Sans"));
    font.setStyleHint(text.Monospace ? QFont::TypeWriter : QFont::SansSerif);
    font.setBold(text.Bold);
    constexpr double kProbePoints = 100;
    font.setPointSizeF(kProbePoints);
    const double probe = QFontMetricsF(font, device).capHeight();
    if (probe > 0) {
        font.setPointSizeF(kProbePoints * capHeight / probe);
    }
    return font;
}

// Control characters have no glyph and no place in an SVG's XML: they show as U+FFFD.
QString Printable(const QString& text) {
    QString shown = text;
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control || c.isNonCharacter()) {
            c = QChar::ReplacementCharacter;
        }
    }
    return shown;
}

void PaintText(QPainter& painter, const PageText& text, double dotsPerMm) {
    const QString shown = Printable(ToQString(text.Text));
    painter.save();
    painter.translate(Dots(text.At, dotsPerMm));
    painter.rotate(-text.AngleDeg);
    painter.setFont(TextFont(text, text.HeightMm * dotsPerMm, painter.device()));
    const double advance = QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(shown);
    const double x = text.Align == TextAlign::Right    ? -advance
                     : text.Align == TextAlign::Centre ? -advance / 2
                                                       : 0;
    painter.drawText(QPointF(x, 0), shown);
    painter.restore();
}

QPageLayout LayoutOf(const Page& page) {
    return QPageLayout(QPageSize(QSizeF(page.WidthMm, page.HeightMm), QPageSize::Millimeter),
                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

} // namespace

void PaintPage(QPainter& painter, const Page& page, double dotsPerMm) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    for (const PageLine& line : page.Lines) {
        painter.setPen(LinePen(line.WidthMm, line.Type, dotsPerMm, line.Colour));
        painter.drawLine(Dots(line.Start, dotsPerMm), Dots(line.End, dotsPerMm));
    }
    for (const PageOutline& outline : page.Outlines) {
        QPolygonF polygon;
        for (const Point corner : outline.Corners) {
            polygon << Dots(corner, dotsPerMm);
        }
        if (outline.Filled) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(ColourOf(outline.Colour));
        } else {
            painter.setPen(
                LinePen(outline.WidthMm, LineType::Continuous, dotsPerMm, outline.Colour));
            painter.setBrush(Qt::NoBrush);
        }
        painter.drawPolygon(polygon);
    }
    painter.setBrush(Qt::NoBrush);
    for (const PageText& text : page.Texts) {
        painter.setPen(ColourOf(text.Colour));
        PaintText(painter, text, dotsPerMm);
    }
    painter.restore();
}

Expected<QByteArray, QString> PdfOfPages(const std::vector<Page>& pages,
                                         const PageDocumentInfo& info) {
    if (pages.empty()) {
        return QStringLiteral("there is no page to write");
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(LayoutOf(pages.front()));
        writer.setTitle(Printable(info.Title));
        writer.setCreator(QStringLiteral("Die Profile"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return QStringLiteral("the PDF could not be started");
        }
        const double dotsPerMm = kPdfResolution / kMillimetresPerInch;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                // The next page's paper is set before it is started.
                writer.setPageLayout(LayoutOf(pages[i]));
                if (!writer.newPage()) {
                    return QStringLiteral("a new page could not be started");
                }
            }
            PaintPage(painter, pages[i], dotsPerMm);
        }
        if (!painter.end()) {
            return QStringLiteral("the PDF could not be finished");
        }
    }
    return bytes;
}

QString XmlSafe(const QString& text) {
    return Printable(text).toHtmlEscaped();
}

} // namespace dieprofile

#include "qt/set_pdf.h"

#include "dieset/die_set.h"
#include "profile/form_design.h"
#include "catalogue/catalogue.h"
#include "core/message_text.h"
#include "qt/page_painter.h"
#include "qt/set_plot.h"
#include "qt/set_table_model.h"
#include "qt/widget_design.h"

#include <QBuffer>
#include <QDate>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace dieprofile {

namespace {

// The schedule's pages are laid out in tenths of a millimetre.
constexpr double kUnitsPerMm = 10;
constexpr double kMargin = 150;
constexpr double kText = 28;      // 2.8 mm lettering for the inputs
constexpr double kTableText = 22; // the table's figures

QFont PageFont(double size, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(size));
    font.setBold(bold);
    return font;
}

QString ScheduleText(const DieSetFile& set, std::size_t passes) {
    switch (set.Schedule) {
    case ScheduleKind::Equal:
        return QStringLiteral("equal reductions over %1 dies").arg(ToQString(set.Dies));
    case ScheduleKind::Reduction:
        return QStringLiteral("the fewest dies with a reduction of at most %1 %: %2 dies")
            .arg(ToQString(set.Percent))
            .arg(passes);
    case ScheduleKind::Diameters:
        return QStringLiteral("outlets as typed: %1 dies").arg(passes);
    }
    return {};
}

// A pass's own values in one line: "Bearing Length 60, Reduction Angle 20".
QString OwnValuesText(const DieSetFile& set, int pass) {
    QStringList values;
    for (const OwnValue& value : OwnValuesOf(set, pass)) {
        values << ToQString(value.Caption) + u' ' + ToQString(value.Text);
    }
    return values.join(QStringLiteral(", "));
}

// The inputs as the schedule's first page lists them: caption and value, each as typed; then each
// pass whose die has values of its own, starred as in the table, with those values.
std::vector<std::pair<QString, QString>> InputRows(const DieSetFile& set, double caution,
                                                   const DieSetSchedule& schedule) {
    const std::size_t passes = schedule.Passes.size();
    const QString unit = ToQString(set.Unit);
    std::vector<std::pair<QString, QString>> rows{
        {QStringLiteral("Start diameter"), ToQString(set.StartDiameter) + u' ' + unit},
        {QStringLiteral("Finish diameter"), ToQString(set.FinishDiameter) + u' ' + unit},
        {QStringLiteral("Schedule"), ScheduleText(set, passes)},
        {QStringLiteral("Material"),
         set.MaterialName.empty() ? QStringLiteral("typed values") : ToQString(set.MaterialName)},
        {QStringLiteral("Strength coefficient K"), ToQString(set.StrengthCoefficient) + " MPa"},
        {QStringLiteral("Hardening exponent n"), ToQString(set.HardeningExponent)},
        {QStringLiteral("Density ρ"), ToQString(set.Density) + " kg/m³"},
        {QStringLiteral("Specific heat c"), ToQString(set.SpecificHeat) + " J/(kg·K)"},
        {QStringLiteral("Friction μ"), ToQString(set.Friction)},
        {QStringLiteral("Finishing speed"), ToQString(set.FinishSpeed) + " m/s"},
        {QStringLiteral("Caution at stress ratio"), QString::number(caution, 'g', 4)},
        {QStringLiteral("Die blank"),
         set.Blank == kCustomBlankRow ? QStringLiteral("own blank") : ToQString(set.Blank)},
    };
    // Rounded outlets are not those the schedule computes: the page says so, in a line whatever
    // the length of the shop's list.
    if (set.Rounding == RoundingKind::Step) {
        rows.insert(rows.begin() + 3,
                    {QStringLiteral("Rounding"),
                     QStringLiteral("outlets to a step of %1 %2, the finish exact")
                         .arg(ToQString(set.RoundingStep), unit)});
    } else if (set.Rounding == RoundingKind::Sizes) {
        rows.insert(rows.begin() + 3,
                    {QStringLiteral("Rounding"),
                     QStringLiteral("outlets to the nearest of %1 sizes kept, the finish exact")
                         .arg(set.RoundingSizes.size())});
    }
    // The die's fields under the designed window's captions; a catalogue blank brings its own
    // diamond's dimensions, so the typed ones are not listed with it.
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        const int index = kSetDieFields[i].Text1Index;
        const bool diamond = index == 10 || index == 5;
        if (diamond && set.Blank != kCustomBlankRow) {
            continue;
        }
        rows.emplace_back(ToQString(Text1Caption(index)),
                          ToQString(set.DieFieldTexts[i]) + (diamond ? u' ' + unit : QString()));
    }
    for (const DieSetPass& pass : schedule.Passes) {
        if (const QString own = OwnValuesText(set, pass.Pass); !own.isEmpty()) {
            rows.emplace_back(QStringLiteral("Pass %1* of its own").arg(pass.Pass), own);
        }
    }
    return rows;
}

void PaintHeading(QPainter& painter, double width, const QString& title, const QString& right) {
    painter.setPen(Qt::black);
    painter.setFont(PageFont(50, true));
    painter.drawText(QPointF(kMargin, kMargin + 40), title);
    painter.setFont(PageFont(kText));
    const double advance = QFontMetricsF(painter.font()).horizontalAdvance(right);
    painter.drawText(QPointF(width - kMargin - advance, kMargin + 40), right);
    painter.setPen(QPen(Qt::black, 4));
    painter.drawLine(QPointF(kMargin, kMargin + 70), QPointF(width - kMargin, kMargin + 70));
}

// The first page: the inputs on the left, the plot filling the rest.
void PaintOverview(QPainter& painter, QSizeF size, const DieSetFile& set, double caution,
                   const DieSetSchedule& schedule) {
    const double top = kMargin + 130;
    painter.setFont(PageFont(kText));
    const QFontMetricsF metrics(painter.font());
    const auto rows = InputRows(set, caution, schedule);
    double captionWidth = 0;
    for (const auto& [caption, value] : rows) {
        captionWidth = std::max(captionWidth, metrics.horizontalAdvance(caption));
    }
    const double valueLeft = kMargin + captionWidth + 40;
    const double columnWidth = std::min(size.width() * 0.38, valueLeft - kMargin + 900);
    double y = top;
    for (const auto& [caption, value] : rows) {
        painter.setPen(QColor(0x44, 0x44, 0x44));
        painter.drawText(QPointF(kMargin, y + metrics.ascent()), caption);
        painter.setPen(Qt::black);
        const QRectF box(valueLeft, y, kMargin + columnWidth - valueLeft, 400);
        const QRectF used = painter.boundingRect(box, Qt::TextWordWrap, value);
        painter.drawText(box, Qt::TextWordWrap, value);
        y += std::max(metrics.height(), used.height()) + 14;
    }
    SetPlotData data;
    data.Caution = caution;
    for (const DieSetPass& pass : schedule.Passes) {
        data.ReductionPercent.push_back(pass.AreaReduction * 100);
        data.StressRatio.push_back(pass.StressRatio);
        data.TemperatureRiseK.push_back(pass.TemperatureRise);
    }
    const QRectF plot(kMargin + columnWidth + 100, top,
                      size.width() - 2 * kMargin - columnWidth - 100,
                      size.height() - top - kMargin);
    PaintSetPlot(painter, plot, data, kText);
}

// The table of passes over as many pages as it needs; returns the pages it painted after the
// first, which the caller has begun.
struct TableLayout {
    std::vector<double> Widths;
    double Text = kTableText;
};

TableLayout LayOutTable(const SetTableModel& table, double width) {
    TableLayout layout;
    for (double text = kTableText; text >= 12; text -= 2) {
        const QFontMetricsF metrics(PageFont(text));
        const QFontMetricsF bold(PageFont(text, true));
        layout.Widths.assign(static_cast<std::size_t>(table.columnCount()), 0);
        double total = 0;
        for (int column = 0; column < table.columnCount(); ++column) {
            double widest = 0;
            for (const QString& word : table.headerData(column, Qt::Horizontal, Qt::DisplayRole)
                                           .toString()
                                           .split(QLatin1Char('\n'))) {
                widest = std::max(widest, bold.horizontalAdvance(word));
            }
            for (int row = 0; row < table.rowCount(); ++row) {
                widest = std::max(widest, metrics.horizontalAdvance(table.Cell(row, column)));
            }
            layout.Widths[static_cast<std::size_t>(column)] = widest + text;
            total += widest + text;
        }
        layout.Text = text;
        if (total <= width) {
            // The spare width goes to every column alike.
            for (double& column : layout.Widths) {
                column += (width - total) / static_cast<double>(layout.Widths.size());
            }
            break;
        }
    }
    return layout;
}

// Under the rows of a page, a line for each starred pass among them: what its die has of its own.
bool PaintTable(QPainter& painter, QPdfWriter& writer, QSizeF size, const SetTableModel& table,
                const DieSetFile& set, const QString& title, const QString& right) {
    const double width = size.width() - 2 * kMargin;
    const TableLayout layout = LayOutTable(table, width);
    // Headings wrap only at words, so a heading longer than its figures takes several lines.
    const QFont headingFont = PageFont(layout.Text, true);
    const QFontMetricsF headingMetrics(headingFont);
    int headingLines = 1;
    for (int column = 0; column < table.columnCount(); ++column) {
        const QRectF needed = headingMetrics.boundingRect(
            QRectF(0, 0, layout.Widths[static_cast<std::size_t>(column)] - layout.Text / 2, 1000),
            Qt::TextWordWrap | Qt::AlignCenter,
            table.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        headingLines = std::max(
            headingLines, static_cast<int>(std::ceil(needed.height() / headingMetrics.height())));
    }
    const double rowHeight = layout.Text * 1.6;
    const double headingHeight = headingMetrics.height() * headingLines + layout.Text;
    const double top = kMargin + 130;
    int row = 0;
    bool first = true;
    while (row < table.rowCount() || first) {
        if (!first && !writer.newPage()) {
            return false;
        }
        first = false;
        PaintHeading(painter, size.width(), title, right);
        double x = kMargin;
        painter.setPen(QPen(Qt::black, 3));
        painter.setFont(headingFont);
        for (int column = 0; column < table.columnCount(); ++column) {
            const double w = layout.Widths[static_cast<std::size_t>(column)];
            painter.drawText(QRectF(x + layout.Text / 4, top, w - layout.Text / 2, headingHeight),
                             Qt::TextWordWrap | Qt::AlignCenter,
                             table.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
            x += w;
        }
        double y = top + headingHeight;
        painter.drawLine(QPointF(kMargin, y), QPointF(kMargin + width, y));
        painter.setFont(PageFont(layout.Text));
        const QFontMetricsF metrics(painter.font());
        QStringList notes;
        const auto noteOf = [&](int at) {
            const int pass = table.Passes().at(static_cast<std::size_t>(at)).Pass;
            return table.OwnProfile(at).isEmpty() ? QString()
                                                  : QStringLiteral("%1* die of its own: %2")
                                                        .arg(pass)
                                                        .arg(OwnValuesText(set, pass));
        };
        for (; row < table.rowCount(); ++row) {
            const QString note = noteOf(row);
            const auto lines = static_cast<double>(notes.size() + (note.isEmpty() ? 0 : 1));
            const double noteSpace = lines > 0 ? (lines + 0.5) * metrics.height() : 0;
            if (y + rowHeight + noteSpace > size.height() - kMargin) {
                break;
            }
            if (!note.isEmpty()) {
                notes << note;
            }
            const QVariant tint = table.data(table.index(row, 0), Qt::BackgroundRole);
            if (tint.isValid()) {
                painter.fillRect(QRectF(kMargin, y, width, rowHeight), tint.value<QColor>());
            }
            x = kMargin;
            painter.setPen(Qt::black);
            for (int column = 0; column < table.columnCount(); ++column) {
                const double w = layout.Widths[static_cast<std::size_t>(column)];
                const QString cell = table.Cell(row, column);
                const bool right =
                    (table.data(table.index(row, column), Qt::TextAlignmentRole).toInt() &
                     Qt::AlignRight) != 0;
                const double advance = metrics.horizontalAdvance(cell);
                const double left = right ? x + w - layout.Text / 2 - advance : x + layout.Text / 2;
                painter.drawText(QPointF(left, y + (rowHeight + metrics.ascent()) / 2 - 2), cell);
                x += w;
            }
            y += rowHeight;
            painter.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), 1));
            painter.drawLine(QPointF(kMargin, y), QPointF(kMargin + width, y));
        }
        painter.setPen(Qt::black);
        y += metrics.height() * 0.5;
        for (const QString& note : notes) {
            painter.drawText(QPointF(kMargin, y + metrics.ascent()), note);
            y += metrics.height();
        }
    }
    return true;
}

} // namespace

Rendering DieSetPdfOf(const DieSetDocument& document) {
    const DieSetFile& set = document.Set;
    const DieSetSchedule& schedule = document.Schedule;
    const double caution = document.Caution;
    const QString name = ToQString(document.SetName);
    const QString shown =
        name.isEmpty()
            ? QString::fromUtf8(kNotSaved.data(), static_cast<qsizetype>(kNotSaved.size()))
            : name;
    SetTableModel table;
    table.SetOwnFieldsOf(set, schedule);
    table.SetSchedule(schedule, caution);
    const QString title = QStringLiteral("Die set %1").arg(name);
    const QString right = QStringLiteral("%1 passes, %2 to %3 %4   %5")
                              .arg(schedule.Passes.size())
                              .arg(ToQString(set.StartDiameter), ToQString(set.FinishDiameter),
                                   ToQString(set.Unit), QDate::currentDate().toString(Qt::ISODate));
    const PaperSize size = LandscapeSize(document.SheetPaper);
    const QPageLayout landscape(
        QPageSize(QSizeF(size.WidthMm, size.HeightMm), QPageSize::Millimeter),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(landscape);
        writer.setResolution(1200);
        writer.setTitle(QStringLiteral("Die set %1").arg(shown));
        writer.setCreator(QStringLiteral("Die Profile"));
        QPainter painter;
        if (painter.begin(&writer)) {
            const double perMm = writer.resolution() / 25.4;
            const QSizeF units(size.WidthMm * kUnitsPerMm, size.HeightMm * kUnitsPerMm);
            painter.save();
            painter.scale(perMm / kUnitsPerMm, perMm / kUnitsPerMm);
            PaintHeading(painter, units.width(), title, right);
            PaintOverview(painter, units, set, caution, schedule);
            painted =
                writer.newPage() && PaintTable(painter, writer, units, table, set, title, right);
            painter.restore();
            for (std::size_t i = 0; painted && i < document.Sheets.size(); ++i) {
                painted = writer.newPage();
                PaintPage(painter, document.Sheets[i], perMm);
            }
            painted = painter.end() && painted;
        }
    }
    if (!painted) {
        return {{}, std::string("the document could not be made")};
    }
    return {bytes.toStdString(), std::nullopt};
}

} // namespace dieprofile

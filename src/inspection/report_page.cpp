#include "inspection/report_page.h"

#include "core/number_text.h"
#include "core/units.h"
#include "output/overlay_layout.h"
#include "output/text_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace dieprofile {

namespace {

constexpr double kText = 2.5;  // captions, the table and the marks
constexpr double kTitle = 3.5; // the verdict
constexpr double kWallLine = 0.5;
constexpr double kThin = 0.18;
constexpr double kPointArm = 0.4; // half a point's cross
constexpr double kCell = 1.0 / 3; // one point drawn a cell, the worst
// The paper the largest deviation (or the band) is drawn across, exaggerated.
constexpr double kDeviationOnPaper = 4;
constexpr double kMaxExaggeration = 1e6;
constexpr double kStatementRoom = 3 * kText + 6;
constexpr double kMarkRoom = 8; // a mark's tick and its letter, beyond the exaggerated deviations

// Where a die's point (x from the axis, y up from the bottom face, design units) stands on paper.
struct BoreOnPaper {
    double AxisX = 0;
    double BaseY = 0;
    double MmPerUnit = 1;
    Point At(Point p) const { return {AxisX + p.X * MmPerUnit, BaseY - p.Y * MmPerUnit}; }
};

double LargestDeviation(const Inspection& inspection) {
    double largest = inspection.Tolerance.value_or(0);
    for (const ZoneFigures& zone : inspection.Zones) {
        largest = std::max(largest, std::abs(zone.MaxDeviation.value_or(0)));
    }
    return largest;
}

// 1, 2 or 5 times a power of ten, the largest not above the ratio (at least 1).
double RoundFactor(double ratio) {
    if (!(ratio > 1)) {
        return 1;
    }
    ratio = std::min(ratio, kMaxExaggeration);
    const double decade = std::pow(10, std::floor(std::log10(ratio)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * decade <= ratio * (1 + 1e-12)) {
            return step * decade;
        }
    }
    return decade;
}

void Cross(Page& page, Point at, double width) {
    page.Lines.push_back({{at.X - kPointArm, at.Y}, {at.X + kPointArm, at.Y}, width});
    page.Lines.push_back({{at.X, at.Y - kPointArm}, {at.X, at.Y + kPointArm}, width});
}

void Chain(Page& page, const std::vector<Point>& chain, double width, LineType type) {
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        page.Lines.push_back({chain[i], chain[i + 1], width, type});
    }
}

// A mark across the wall at a height, its letter beyond the wall's outer side (the foot of the
// plot says what it marks).
void Mark(Page& page, const BoreOnPaper& bore, const BoreWall& wall, double height, double side,
          const std::string& letter) {
    double radius = wall.front().X;
    for (std::size_t k = 0; k + 1 < wall.size(); ++k) {
        const Point a = wall[k];
        const Point b = wall[k + 1];
        if ((height - a.Y) * (height - b.Y) <= 0 && a.Y != b.Y) {
            radius = a.X + (b.X - a.X) * (height - a.Y) / (b.Y - a.Y);
            break;
        }
    }
    const Point at = bore.At({side * radius, height});
    const double reach = side * (kDeviationOnPaper + kMarkRoom - 3);
    page.Lines.push_back({{at.X - side * 2, at.Y}, {at.X + reach, at.Y}, kThin});
    page.Texts.push_back({{at.X + reach + side, at.Y + kText / 2},
                          letter,
                          kText,
                          side > 0 ? TextAlign::Left : TextAlign::Right,
                          0,
                          true});
}

} // namespace

std::string InspectionPlotScale::Text() const {
    return "scale " + Scale.Text() + ", deviations \u00D7" + FixedDecimals(Exaggeration, 0);
}

InspectionPlotScale InspectionPlotScaleFor(const InspectionDesign& design,
                                           const Inspection& inspection, const PaperArea& area) {
    const BoreWall& wall = design.Wall;
    double widest = 0;
    for (const Point& p : wall) {
        widest = std::max(widest, p.X);
    }
    const double height = wall.front().Y - wall.back().Y;
    // Room either side for the exaggerated deviations and the marks' words.
    const double across = area.Right - area.Left - 2 * (kDeviationOnPaper + kMarkRoom);
    const double along = area.Bottom - area.Top - kStatementRoom - 2 * kDeviationOnPaper;
    InspectionPlotScale scale;
    if (widest > 0 && height > 0 && across > 0 && along > 0) {
        scale.Scale =
            ChooseSheetScale(std::min(across / (2 * widest), along / height) / design.UnitDivisor);
    }
    const double mmPerUnit = design.UnitDivisor * scale.Scale.Ratio();
    const double largest = LargestDeviation(inspection);
    if (largest > 0) {
        double ratio = kDeviationOnPaper / (largest * mmPerUnit);
        // A point inside the bore, exaggerated, must not be drawn across the axis on the other
        // wall's side: half the bearing's radius at most.
        double inward = 0;
        for (const InspectedPoint& p : inspection.Points) {
            inward = std::max(inward, -p.Deviation);
        }
        if (inward > 0) {
            ratio = std::min(ratio, wall[2].X / 2 / inward);
        }
        scale.Exaggeration = RoundFactor(ratio);
    }
    return scale;
}

void LayOutInspectionPlot(Page& page, const PaperArea& area, const InspectionDesign& design,
                          const Inspection& inspection, const BoreWall* recut) {
    const InspectionPlotScale scale = InspectionPlotScaleFor(design, inspection, area);
    const BoreWall& wall = design.Wall;
    BoreOnPaper bore;
    bore.MmPerUnit = design.UnitDivisor * scale.Scale.Ratio();
    bore.AxisX = (area.Left + area.Right) / 2;
    const double height = (wall.front().Y - wall.back().Y) * bore.MmPerUnit;
    bore.BaseY = (area.Top + area.Bottom - kStatementRoom + height) / 2;
    const double k = scale.Exaggeration;

    // The axis, the design's walls and the band either side of them.
    page.Lines.push_back({{bore.AxisX, bore.BaseY - height - 4},
                          {bore.AxisX, bore.BaseY + 4},
                          kThin,
                          LineType::Centre});
    for (const double side : {-1.0, 1.0}) {
        std::vector<Point> chain;
        for (const Point& p : wall) {
            chain.push_back(bore.At({side * p.X, p.Y}));
        }
        Chain(page, chain, kWallLine, LineType::Continuous);
        if (inspection.Tolerance && *inspection.Tolerance > 0) {
            const double band = *inspection.Tolerance * k * bore.MmPerUnit;
            Chain(page, OffsetChain(chain, band), kThin, LineType::Dashed);
            Chain(page, OffsetChain(chain, -band), kThin, LineType::Dashed);
        }
    }

    // The points, exaggerated: the worst of each small cell of paper, so that a million points
    // draw as a few thousand and none that matters is hidden.
    struct Drawn {
        Point At;
        double Size = -1;
        bool Outside = false;
    };
    std::unordered_map<std::int64_t, Drawn> cells;
    for (const InspectedPoint& p : inspection.Points) {
        const Point at = bore.At(ExaggeratedPoint(wall, p.At, k));
        if (!std::isfinite(at.X) || !std::isfinite(at.Y)) {
            continue;
        }
        const auto column = static_cast<std::int64_t>(std::floor(at.X / kCell));
        const auto row = static_cast<std::int64_t>(std::floor(at.Y / kCell));
        Drawn& cell = cells[(row << 24) ^ column];
        if (std::abs(p.Deviation) > cell.Size) {
            const bool outside =
                inspection.Tolerance && std::abs(p.Deviation) > *inspection.Tolerance;
            cell = {at, std::abs(p.Deviation), outside};
        }
    }
    std::vector<Drawn> drawn;
    drawn.reserve(cells.size());
    for (const auto& [key, cell] : cells) {
        drawn.push_back(cell);
    }
    // In the order of the paper, so that the page is the same on every run.
    std::ranges::sort(drawn, [](const Drawn& a, const Drawn& b) {
        return a.At.Y != b.At.Y ? a.At.Y < b.At.Y : a.At.X < b.At.X;
    });
    for (const Drawn& cell : drawn) {
        Cross(page, cell.At, cell.Outside ? 0.35 : 0.13);
    }

    // The recut's wall, each straight run in short pieces (its distance from the design's wall
    // changes along it, and the exaggeration bends it), every other one drawn: heavy dashes.
    constexpr int kPieces = 24;
    for (const double side : {-1.0, 1.0}) {
        if (recut == nullptr) {
            break;
        }
        std::vector<Point> chain;
        for (std::size_t i = 0; i + 1 < recut->size(); ++i) {
            const Point a = (*recut)[i];
            const Point b = (*recut)[i + 1];
            for (int piece = i == 0 ? 0 : 1; piece <= kPieces; ++piece) {
                const double t = static_cast<double>(piece) / kPieces;
                const Point on{side * (a.X + (b.X - a.X) * t), a.Y + (b.Y - a.Y) * t};
                chain.push_back(bore.At(ExaggeratedPoint(wall, on, k)));
            }
        }
        for (std::size_t i = 0; i + 1 < chain.size(); i += 2) {
            page.Lines.push_back({chain[i], chain[i + 1], kWallLine, LineType::Continuous});
        }
    }

    // The meeting point on the right-hand wall, the wear ring on the left.
    const double bearingTop = wall[2].Y;
    const std::string unit(UnitSymbol(design.UnitDivisor));
    std::string marks;
    if (design.MeetingPointAboveBearing) {
        Mark(page, bore, wall, bearingTop + *design.MeetingPointAboveBearing, 1, "M");
        marks = "M design's meeting point";
    }
    if (inspection.Ring) {
        Mark(page, bore, wall, bearingTop + inspection.Ring->HeightAboveBearing, -1, "W");
        marks += std::string(marks.empty() ? "" : ", ") + "W wear ring " +
                 ReportFigureText(inspection.Ring->Depth, unit) + " " + unit + " deep";
    }

    std::string band = "no tolerance band";
    if (inspection.Tolerance) {
        band = "band \u00B1" + ReportFigureText(*inspection.Tolerance, unit) + " " + unit +
               " on the radius";
    }
    const double width = area.Right - area.Left;
    page.Texts.push_back(
        {{area.Left, area.Bottom - 2 * kText - 5},
         CutToWidth(scale.Text() + (recut != nullptr ? "; heavy dashes the recut" : ""), kText,
                    width),
         kText});
    page.Texts.push_back(
        {{area.Left, area.Bottom - kText - 3}, CutToWidth(marks, kText, width), kText});
    page.Texts.push_back({{area.Left, area.Bottom - 1},
                          CutToWidth(band + ", heavier points beyond it", kText, width),
                          kText});
}

std::string ReportFigureWords(std::string quantity) {
    if (quantity.ends_with("_deg")) {
        quantity.resize(quantity.size() - 4);
    }
    std::ranges::replace(quantity, '_', ' ');
    return quantity;
}

std::string ReportFigureText(const std::optional<double>& value, const std::string& unit) {
    if (!value) {
        return {};
    }
    if (unit == "deg") {
        return FixedDecimals(*value, 2);
    }
    if (unit == "count") {
        return FixedDecimals(*value, 0);
    }
    return FixedDecimals(*value, unit == "in" ? 5 : 4);
}

namespace {

struct Column {
    std::string Caption;
    double Width = 0;
    TextAlign Align = TextAlign::Right;
};

const std::vector<Column>& TableColumns() {
    static const std::vector<Column> kColumns{{"figure", 52, TextAlign::Left},
                                              {"design", 20},
                                              {"measured", 20},
                                              {"deviation", 20},
                                              {"unit", 12, TextAlign::Left},
                                              {"within", 20, TextAlign::Left}};
    return kColumns;
}

constexpr double kRowPitch = 4.2;

// The table of figures with the verdict above it, from the top right of the area; its bottom.
double LayOutTable(Page& page, double right, double top, const InspectionDesign& design,
                   const Inspection& inspection, const std::string& measuredLine) {
    double width = 0;
    for (const Column& column : TableColumns()) {
        width += column.Width;
    }
    const double left = right - width;
    double y = top;
    for (const std::string& line :
         Wrap("Verdict: " + VerdictLine(design, inspection), kTitle, width, 2)) {
        y += kTitle + 2;
        page.Texts.push_back({{left, y}, line, kTitle, TextAlign::Left, 0, true});
    }
    y += kText + 2;
    const double tableTop = y + 3;
    page.Texts.push_back({{left, y}, CutToWidth(measuredLine, kText, width), kText});
    y += 3;
    const auto row = [&](const std::vector<std::string>& cells, bool bold) {
        double x = left;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const Column& column = TableColumns()[i];
            const double at = column.Align == TextAlign::Right ? x + column.Width - 1.5 : x + 1.5;
            page.Texts.push_back(
                {{at, y + kRowPitch - 1.1}, cells[i], kText, column.Align, 0, bold});
            x += column.Width;
        }
        page.Lines.push_back({{left, y + kRowPitch}, {right, y + kRowPitch}, kThin});
        y += kRowPitch;
    };
    page.Lines.push_back({{left, y}, {right, y}, kThin});
    std::vector<std::string> captions;
    for (const Column& column : TableColumns()) {
        captions.push_back(column.Caption);
    }
    row(captions, true);
    for (const ReportRow& figure : InspectionRows(design, inspection)) {
        const bool outside = figure.Within == false;
        const double rowTop = y;
        row({ReportFigureWords(figure.Quantity), ReportFigureText(figure.Design, figure.Unit),
             ReportFigureText(figure.Measured, figure.Unit),
             ReportFigureText(figure.Deviation, figure.Unit), figure.Unit,
             figure.Within ? (*figure.Within ? "yes" : "OUTSIDE") : ""},
            outside);
        if (outside) {
            // The zone beyond its band framed heavily, seen at a glance.
            const PageOutline frame{
                {{left, rowTop}, {right, rowTop}, {right, y}, {left, y}}, false, 0.5};
            page.Outlines.push_back(frame);
        }
    }
    double x = left;
    for (const Column& column : TableColumns()) {
        page.Lines.push_back({{x, tableTop}, {x, y}, kThin});
        x += column.Width;
    }
    page.Lines.push_back({{right, tableTop}, {right, y}, kThin});
    y += 2;
    for (const std::string& note : inspection.Notes) {
        for (const std::string& line : Wrap(note, kText, width, 2)) {
            y += kText + 1.5;
            page.Texts.push_back({{left, y}, line, kText});
        }
    }
    return y;
}

} // namespace

Page LayOutInspectionReport(const InspectionReportContent& content, const InspectionDesign& design,
                            const Inspection& inspection) {
    SheetContent sheet = content.Sheet;
    sheet.Identity.Title = content.MeasuredName + " of " + content.MeasuredDate;
    sheet.Details.GeneralTolerances =
        inspection.Tolerance ? "\u00B1" +
                                   ReportFigureText(*inspection.Tolerance,
                                                    std::string(UnitSymbol(design.UnitDivisor))) +
                                   " on the radius"
                             : "";
    // The scale the plot states is the title block's; it depends only on the area.
    Page page;
    SheetBorder border = LayOutSheetBorder(page, sheet, "Inspection report", "");
    double tableWidth = 0;
    for (const Column& column : TableColumns()) {
        tableWidth += column.Width;
    }
    const double tableLeft = border.Right - 5 - tableWidth;
    PaperArea plot{border.Left + 5, border.Top + 5, tableLeft - 5,
                   (tableLeft - 5 <= border.TitleLeft ? border.Bottom : border.TitleTop) - 5};
    const InspectionPlotScale scale = InspectionPlotScaleFor(design, inspection, plot);
    page = Page{};
    border = LayOutSheetBorder(page, sheet, "Inspection report", scale.Scale.Text());
    LayOutInspectionPlot(page, plot, design, inspection);
    LayOutTable(page, border.Right - 5, border.Top + 5, design, inspection,
                "Measured: " + content.MeasuredName + " (" + content.MeasuredDate + ")");
    return page;
}

} // namespace dieprofile

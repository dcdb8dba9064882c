#include "output/overlay_layout.h"

#include "core/number_text.h"
#include "core/units.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace dieprofile {

namespace {

// How far a corner of the band may reach out before it is bevelled, in band widths: a sharp turn
// of the wall would otherwise throw the join far away.
constexpr double kMiterLimit = 4;
// The axis reaches this far beyond the profile at both ends.
constexpr double kAxisOverhangMm = 6;
// Half the arm of an alignment cross.
constexpr double kMarkArmMm = 3;
// The page must hold the check bar, its statement and a useful piece of the sheet.
constexpr double kMinPrintableWidthMm = 100;
constexpr double kMinTileHeightMm = 40;

Point Along(Point p, Point d, double t) {
    return {p.X + t * d.X, p.Y + t * d.Y};
}

// The offset line's end moved along it onto the horizontal through the wall's own end, so the
// band stops on the die's face as the wall does; left square where the wall runs nearly flat.
Point EndOnFace(Point offsetEnd, Point direction, double faceY, double distance) {
    if (std::fabs(direction.Y) < 1e-12) {
        return offsetEnd;
    }
    const double t = (faceY - offsetEnd.Y) / direction.Y;
    return std::fabs(t) <= kMiterLimit * std::fabs(distance) ? Along(offsetEnd, direction, t)
                                                             : offsetEnd;
}

void AddCross(std::vector<PaperLine>& lines, double x, double y) {
    lines.push_back({{x - kMarkArmMm, y}, {x + kMarkArmMm, y}, OverlayStroke::Mark});
    lines.push_back({{x, y - kMarkArmMm}, {x, y + kMarkArmMm}, OverlayStroke::Mark});
}

// How many tiles of the given width, overlapping by kPageOverlapMm, cover a length.
double TilesFor(double length, double tile) {
    return length <= tile ? 1 : std::ceil((length - kPageOverlapMm) / (tile - kPageOverlapMm));
}

} // namespace

std::vector<SectionLine> OverlayViewLines(const SectionFrame& frame, const DrawingScene& scene,
                                          OverlayView view) {
    std::vector<SectionLine> lines;
    for (const BoreSide side : {BoreSide::Left, BoreSide::Right}) {
        const BoreWall wall = BoreWallOf(frame, scene, side);
        for (std::size_t i = 0; i + 1 < wall.size(); ++i) {
            lines.push_back({wall[i], wall[i + 1]});
        }
    }
    if (view == OverlayView::Section) {
        for (const SegmentDesign& design : SceneSegments()) {
            if (design.Role == SegmentRole::BlankOutline || design.Role == SegmentRole::Wire) {
                lines.push_back(ToSection(frame, scene.*design.Member));
            }
        }
    }
    return lines;
}

std::vector<Point> OffsetChain(const std::vector<Point>& chain, double distance) {
    std::vector<Point> points;
    double size = 0;
    for (const Point& p : chain) {
        size = std::max({size, std::fabs(p.X), std::fabs(p.Y)});
    }
    const double hair = 1e-9 * size;
    for (const Point& p : chain) {
        if (points.empty() || std::hypot(p.X - points.back().X, p.Y - points.back().Y) > hair) {
            points.push_back(p);
        }
    }
    if (points.size() < 2) {
        return {};
    }
    // Each segment's direction and its offset copy's start.
    std::vector<Point> directions;
    std::vector<Point> starts;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Point d = points[i + 1] - points[i];
        const double length = std::hypot(d.X, d.Y);
        const Point u{d.X / length, d.Y / length};
        directions.push_back(u);
        starts.push_back({points[i].X - distance * u.Y, points[i].Y + distance * u.X});
    }
    const std::size_t last = directions.size() - 1;
    std::vector<Point> band;
    band.push_back(EndOnFace(starts[0], directions[0], points[0].Y, distance));
    for (std::size_t i = 0; i < last; ++i) {
        const Point u = directions[i];
        const Point v = directions[i + 1];
        const Point corner = points[i + 1];
        const Point endOfThis =
            Along(starts[i], u, std::hypot((corner - points[i]).X, (corner - points[i]).Y));
        const double turn = Cross(u, v);
        if (std::fabs(turn) < 1e-12) {
            band.push_back(endOfThis); // straight on: the offset lines are one
            continue;
        }
        const double t = Cross((starts[i + 1] - starts[i]), v) / turn;
        const Point meet = Along(starts[i], u, t);
        if (std::hypot(meet.X - corner.X, meet.Y - corner.Y) <= kMiterLimit * std::fabs(distance)) {
            band.push_back(meet);
        } else {
            band.push_back(endOfThis);
            band.push_back(starts[i + 1]);
        }
    }
    const Point u = directions[last];
    const Point lastStart = starts[last];
    const Point lastSpan = points[last + 1] - points[last];
    band.push_back(EndOnFace(Along(lastStart, u, std::hypot(lastSpan.X, lastSpan.Y)), u,
                             points[last + 1].Y, distance));
    return band;
}

std::variant<OverlayPages, std::string>
LayOutOverlay(const SectionFrame& frame, const DrawingScene& scene, double unitDivisor,
              const OverlayOptions& options, std::string_view designName, double printableWidthMm,
              double printableHeightMm) {
    if (std::optional<std::string> problem = CheckOverlayOptions(options)) {
        return *std::move(problem);
    }
    const double tileWidth = printableWidthMm;
    const double tileHeight = printableHeightMm - kFooterHeightMm;
    if (!(tileWidth >= kMinPrintableWidthMm && tileHeight >= kMinTileHeightMm)) {
        return std::string("The page is too small for an overlay: its printable area must be at "
                           "least " +
                           NumberToText(kMinPrintableWidthMm) + " mm by " +
                           NumberToText(kMinTileHeightMm + kFooterHeightMm) + " mm.");
    }
    const bool inches = unitDivisor == kInchUnitDivisor;
    // Lengths of the die are in the unit in force; the unit divisor is millimetres per unit.
    const double mmPerUnit = unitDivisor * options.Magnification;

    // The die's lines in its own units: the view's lines, then the band either side of each wall.
    std::vector<SectionLine> profile = OverlayViewLines(frame, scene, options.View);
    std::vector<SectionLine> band;
    if (options.Tolerance > 0) {
        for (const BoreSide side : {BoreSide::Left, BoreSide::Right}) {
            const BoreWall wall = BoreWallOf(frame, scene, side);
            const std::vector<Point> chain(wall.begin(), wall.end());
            for (const double distance : {options.Tolerance, -options.Tolerance}) {
                const std::vector<Point> offset = OffsetChain(chain, distance);
                for (std::size_t i = 0; i + 1 < offset.size(); ++i) {
                    band.push_back({offset[i], offset[i + 1]});
                }
            }
        }
    }
    Bounds bounds;
    for (const std::vector<SectionLine>* lines : {&profile, &band}) {
        for (const SectionLine& line : *lines) {
            bounds.Add(line.Start);
            bounds.Add(line.End);
        }
    }
    bounds.Add({0, bounds.MinY}); // the axis
    const double contentWidth = bounds.Width() * mmPerUnit;
    const double contentHeight = bounds.Height() * mmPerUnit;
    const double sheetWidth = contentWidth + 2 * kSheetMarginMm;
    const double sheetHeight = contentHeight + 2 * (kSheetMarginMm + kAxisOverhangMm);
    if (!std::isfinite(sheetWidth) || !std::isfinite(sheetHeight)) {
        return std::string("The profile cannot be drawn at this magnification.");
    }
    const double columns = TilesFor(sheetWidth, tileWidth);
    const double rows = TilesFor(sheetHeight, tileHeight);
    if (columns * rows > kMaxOverlayPages) {
        return "At " + NumberToText(options.Magnification) + "x the overlay would need " +
               NumberToText(columns * rows) + " pages; at most " + NumberToText(kMaxOverlayPages) +
               " can be printed.";
    }

    OverlayPages pages;
    pages.TileWidth = tileWidth;
    pages.TileHeight = tileHeight;
    pages.Columns = static_cast<int>(columns);
    pages.Rows = static_cast<int>(rows);
    const double stepX = tileWidth - kPageOverlapMm;
    const double stepY = tileHeight - kPageOverlapMm;
    // The pages together cover more than the sheet; the profile sits in the middle of them.
    const double coveredWidth = pages.Columns * stepX + kPageOverlapMm;
    const double coveredHeight = pages.Rows * stepY + kPageOverlapMm;
    const double left = (coveredWidth - contentWidth) / 2;
    const double top = (coveredHeight - contentHeight) / 2;
    const auto toPaper = [&](Point p) {
        return Point{left + (p.X - bounds.MinX) * mmPerUnit, top + (bounds.MaxY - p.Y) * mmPerUnit};
    };
    for (const SectionLine& line : profile) {
        pages.Lines.push_back({toPaper(line.Start), toPaper(line.End), OverlayStroke::Profile});
    }
    for (const SectionLine& line : band) {
        pages.Lines.push_back({toPaper(line.Start), toPaper(line.End), OverlayStroke::Band});
    }
    const double axisX = toPaper({0, 0}).X;
    pages.Lines.push_back({{axisX, top - kAxisOverhangMm},
                           {axisX, top + contentHeight + kAxisOverhangMm},
                           OverlayStroke::Axis});

    // Two crosses along every edge that two pages share, and one where four pages meet.
    for (int c = 1; c < pages.Columns; ++c) {
        const double x = c * stepX + kPageOverlapMm / 2;
        for (int r = 0; r < pages.Rows; ++r) {
            AddCross(pages.Lines, x, r * stepY + tileHeight / 4);
            AddCross(pages.Lines, x, r * stepY + tileHeight * 3 / 4);
        }
        for (int r = 1; r < pages.Rows; ++r) {
            AddCross(pages.Lines, x, r * stepY + kPageOverlapMm / 2);
        }
    }
    for (int r = 1; r < pages.Rows; ++r) {
        const double y = r * stepY + kPageOverlapMm / 2;
        for (int c = 0; c < pages.Columns; ++c) {
            AddCross(pages.Lines, c * stepX + tileWidth / 4, y);
            AddCross(pages.Lines, c * stepX + tileWidth * 3 / 4, y);
        }
    }

    const std::string grid =
        " of " + std::to_string(pages.Rows) + " \u00d7 " + std::to_string(pages.Columns);
    pages.Pages.reserve(static_cast<std::size_t>(pages.Rows) *
                        static_cast<std::size_t>(pages.Columns));
    for (int r = 1; r <= pages.Rows; ++r) {
        for (int c = 1; c <= pages.Columns; ++c) {
            OverlayPage page;
            page.Row = r;
            page.Column = c;
            page.Origin = {(c - 1) * stepX, (r - 1) * stepY};
            page.Label = "row " + std::to_string(r) + ", column " + std::to_string(c) + grid;
            pages.Pages.push_back(std::move(page));
        }
    }
    // Only the lines whose box meets a page go onto it; the painter clips the rest. The pages a
    // box may meet follow from the steps (one more either side for the rounding), so a sheet of
    // thousands of pages and marks costs no more than its lines.
    const auto range = [](double low, double high, double tile, double step, int count) {
        const int first = std::max(0, static_cast<int>(std::floor((low - tile) / step)) - 1);
        const int last = std::min(count - 1, static_cast<int>(std::floor(high / step)) + 1);
        return std::pair{first, last};
    };
    for (std::size_t i = 0; i < pages.Lines.size(); ++i) {
        const PaperLine& line = pages.Lines[i];
        const double x0 = std::min(line.Start.X, line.End.X);
        const double x1 = std::max(line.Start.X, line.End.X);
        const double y0 = std::min(line.Start.Y, line.End.Y);
        const double y1 = std::max(line.Start.Y, line.End.Y);
        const auto [firstColumn, lastColumn] = range(x0, x1, tileWidth, stepX, pages.Columns);
        const auto [firstRow, lastRow] = range(y0, y1, tileHeight, stepY, pages.Rows);
        for (int r = firstRow; r <= lastRow; ++r) {
            for (int c = firstColumn; c <= lastColumn; ++c) {
                OverlayPage& page = pages.Pages[(static_cast<std::size_t>(r) *
                                                 static_cast<std::size_t>(pages.Columns)) +
                                                static_cast<std::size_t>(c)];
                if (x1 >= page.Origin.X && x0 <= page.Origin.X + tileWidth && y1 >= page.Origin.Y &&
                    y0 <= page.Origin.Y + tileHeight) {
                    page.Lines.push_back(i);
                }
            }
        }
    }

    // The foot: the words on the first line, the check bar with its statement on the second.
    pages.CheckBarMm = inches ? 2 * kMillimetresPerInch : 50;
    const double barY = tileHeight + kFooterHeightMm - 3;
    pages.FooterLines = {
        {{0, barY}, {pages.CheckBarMm, barY}, OverlayStroke::CheckBar},
        {{0, barY - 1.5}, {0, barY + 1.5}, OverlayStroke::CheckBar},
        {{pages.CheckBarMm, barY - 1.5}, {pages.CheckBarMm, barY + 1.5}, OverlayStroke::CheckBar},
    };
    pages.Statement =
        "this bar is " + (inches ? std::string("2 in") : std::string("50 mm")) + " long";
    pages.StatementAt = {pages.CheckBarMm + 3, barY + 1.2};
    std::string info;
    if (!designName.empty()) {
        info = std::string(designName) + "    ";
    }
    info += "magnification " + NumberToText(options.Magnification) + "\u00d7    lengths in " +
            std::string(UnitName(unitDivisor));
    if (options.Tolerance > 0) {
        info += "    tolerance band \u00b1" + NumberToText(options.Tolerance) + " " +
                std::string(UnitSymbol(unitDivisor));
    }
    pages.Info = std::move(info);
    pages.InfoAt = {0, tileHeight + 5.5};
    pages.LabelAt = {tileWidth, barY + 1.2};
    return pages;
}

} // namespace dieprofile

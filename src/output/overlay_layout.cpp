#include "output/overlay_layout.h"

#include "core/number_text.h"
#include "core/units.h"
#include "output/text_fit.h"
#include "output/title_block.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
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
// The page must hold the check bars, their statements and a useful piece of the sheet.
constexpr double kMinPrintableWidthMm = 100;
constexpr double kMinTileHeightMm = 60;
// The datum lines reach this far beyond the profile either side.
constexpr double kDatumOverhangMm = 4;
// A band narrower on paper than this many widths of the profile's line is hidden by it.
constexpr double kBandLineWidths = 2;
// From one line of the foot's words to the next.
constexpr double kFootLineMm = 5;

// The offset line's end moved along it onto the horizontal through the wall's own end, so the
// band stops on the die's face as the wall does; left square where the wall runs nearly flat.
Point EndOnFace(Point offsetEnd, Point direction, double faceY, double distance) {
    if (std::fabs(direction.Y) < 1e-12) {
        return offsetEnd;
    }
    const double t = (faceY - offsetEnd.Y) / direction.Y;
    return std::fabs(t) <= kMiterLimit * std::fabs(distance) ? offsetEnd + direction * t
                                                             : offsetEnd;
}

void AddCross(std::vector<PaperLine>& lines, double x, double y) {
    lines.push_back({{x - kMarkArmMm, y}, {x + kMarkArmMm, y}, OverlayStroke::Mark});
    lines.push_back({{x, y - kMarkArmMm}, {x, y + kMarkArmMm}, OverlayStroke::Mark});
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
            // The die is what is checked: its outline, never the wires.
            if (design.Role == SegmentRole::BlankOutline) {
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
            starts[i] + u * std::hypot((corner - points[i]).X, (corner - points[i]).Y);
        const double turn = Cross(u, v);
        if (std::fabs(turn) < 1e-12) {
            band.push_back(endOfThis); // straight on: the offset lines are one
            continue;
        }
        const double t = Cross((starts[i + 1] - starts[i]), v) / turn;
        const Point meet = starts[i] + u * t;
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
    band.push_back(EndOnFace(lastStart + u * std::hypot(lastSpan.X, lastSpan.Y), u,
                             points[last + 1].Y, distance));
    return band;
}

double OverlayStrokeWidthMm(OverlayStroke stroke) {
    switch (stroke) {
    case OverlayStroke::Profile:
    case OverlayStroke::CheckBar:
        return 0.25;
    case OverlayStroke::Mark:
        return 0.18;
    case OverlayStroke::Axis:
    case OverlayStroke::Band:
    case OverlayStroke::Datum:
        return 0.12;
    }
    return 0.12;
}

bool ClipToBox(Point& start, Point& end, const Bounds& box) {
    const std::optional<ClipSpan> span = ClippedSpan(start, end, box);
    if (!span) {
        return false;
    }
    const Point from = start;
    const Point d = end - from;
    if (span->Enter > 0) {
        start = {from.X + span->Enter * d.X, from.Y + span->Enter * d.Y};
    }
    if (span->Leave < 1) {
        end = {from.X + span->Leave * d.X, from.Y + span->Leave * d.Y};
    }
    return true;
}

AxialWindow RegionWindow(const BoreWall& wall, OverlayRegion region) {
    // The zones top to bottom: bell, cone, bearing, back relief, each between two wall points.
    const int zone = region == OverlayRegion::Entrance    ? 0
                     : region == OverlayRegion::Reduction ? 1
                     : region == OverlayRegion::Bearing   ? 2
                     : region == OverlayRegion::Back      ? 3
                                                          : -1;
    if (zone < 0) {
        return {wall.back().Y, wall.front().Y};
    }
    const auto z = static_cast<std::size_t>(zone);
    const double length = wall[z].Y - wall[z + 1].Y;
    // A quarter of the neighbour, no longer than the zone itself unless the zone has no length.
    const auto share = [length](double neighbour) {
        return length > 0 ? std::min(neighbour / 4, length) : neighbour / 4;
    };
    const double above = z > 0 ? share(wall[z - 1].Y - wall[z].Y) : 0;
    const double below = z + 2 < wall.size() ? share(wall[z + 1].Y - wall[z + 2].Y) : 0;
    return {wall[z + 1].Y - below, wall[z].Y + above};
}

namespace {

// A text of the chart in the die's units: where it is anchored and what it says.
struct DieText {
    Point At;
    std::string Text;
};

// The die's lines in its own units, cut to the region: the view's lines, the band either side
// of each wall, and each cone's lines at its angle's limits with their values.
struct DieLines {
    std::vector<SectionLine> Profile;
    std::vector<SectionLine> Band;
    std::vector<SectionLine> AngleLimits;
    std::vector<DieText> AngleTexts;
    AxialWindow Window;
    BoreWall Wall{}; // the right-hand wall: its corners are the datums
};

// The wall's zones with a cone (entrance bell, reduction cone, back relief): the index of their
// upper corner.
constexpr std::size_t kCones[] = {0, 1, 3};

// A zone's included angle, degrees, from its wall's corners: negative for a cone that widens
// downwards, as the back relief does.
double IncludedAngleOf(Point upper, Point lower) {
    return 360 / std::numbers::pi * std::atan2(upper.X - lower.X, upper.Y - lower.Y);
}

// For each cone with a length, the two lines at its included angle ± tolerance through the middle
// of its zone on the right-hand wall, from the zone's top height to its bottom, each with its
// angle beside it: the wider one's a quarter of the zone below its top, the narrower one's a
// quarter above its bottom, clear of each other and of the datums at the zone's ends.
void AddAngleLimits(const BoreWall& wall, double tolerance, DieLines& die) {
    for (const std::size_t i : kCones) {
        const Point upper = wall[i];
        const Point lower = wall[i + 1];
        if (!(upper.Y - lower.Y > 0)) {
            continue;
        }
        const Point middle{(upper.X + lower.X) / 2, (upper.Y + lower.Y) / 2};
        const double nominal = IncludedAngleOf(upper, lower);
        for (const double wider : {1.0, -1.0}) {
            const double angle = nominal + (nominal < 0 ? -wider : wider) * tolerance;
            const double slope = std::tan(angle * std::numbers::pi / 360);
            const Point top{middle.X + (upper.Y - middle.Y) * slope, upper.Y};
            const Point bottom{middle.X + (lower.Y - middle.Y) * slope, lower.Y};
            die.AngleLimits.push_back({top, bottom});
            const double along = wider > 0 ? 0.75 : 0.25;
            die.AngleTexts.push_back(
                {{bottom.X + along * (top.X - bottom.X), bottom.Y + along * (top.Y - bottom.Y)},
                 SheetDegrees(std::fabs(angle))});
        }
    }
}

DieLines DieLinesOf(const SectionFrame& frame, const DrawingScene& scene,
                    const OverlayOptions& options) {
    DieLines die;
    const BoreWall right = BoreWallOf(frame, scene, BoreSide::Right);
    die.Window = RegionWindow(right, options.Region);
    die.Wall = right;
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
    // Across the whole width, between the window's heights.
    const double inf = std::numeric_limits<double>::infinity();
    const Bounds strip{-inf, inf, die.Window.Low, die.Window.High};
    const auto cut = [&strip](const std::vector<SectionLine>& lines, std::vector<SectionLine>& to) {
        for (const SectionLine& line : lines) {
            SectionLine cut = line;
            if (ClipToBox(cut.Start, cut.End, strip)) {
                to.push_back(cut);
            }
        }
    };
    cut(OverlayViewLines(frame, scene, options.View), die.Profile);
    cut(band, die.Band);
    if (options.AngleTolerance > 0) {
        DieLines limits;
        AddAngleLimits(right, options.AngleTolerance, limits);
        cut(limits.AngleLimits, die.AngleLimits);
        for (const DieText& text : limits.AngleTexts) {
            if (text.At.Y >= die.Window.Low && text.At.Y <= die.Window.High) {
                die.AngleTexts.push_back(text);
            }
        }
    }
    return die;
}

// Where the die's lines lie on the sheet, and the grid of tiles over it.
struct SheetPlacement {
    Bounds Die;           // the drawn lines' extent in die units
    double MmPerUnit = 0; // the magnification in paper millimetres per die unit
    bool Mirror = false;
    double Left = 0; // the sheet's point where the die's extent starts
    double Top = 0;
    double StepX = 0; // from one tile to the next
    double StepY = 0;

    Point ToPaper(double x, double y) const {
        return {Left + (x - Die.MinX) * MmPerUnit,
                Top + (Mirror ? y - Die.MinY : Die.MaxY - y) * MmPerUnit};
    }
};

// How many tiles of the given width, overlapping by kPageOverlapMm, cover a length.
double TilesFor(double length, double tile) {
    return length <= tile ? 1 : std::ceil((length - kPageOverlapMm) / (tile - kPageOverlapMm));
}

Expected<SheetPlacement> PlaceOnSheet(const DieLines& die, double mmPerUnit,
                                      const OverlayOptions& options, OverlayPages& pages) {
    SheetPlacement place;
    place.MmPerUnit = mmPerUnit;
    place.Mirror = options.Mirror;
    for (const std::vector<SectionLine>* lines : {&die.Profile, &die.Band, &die.AngleLimits}) {
        for (const SectionLine& line : *lines) {
            place.Die.Add(line.Start);
            place.Die.Add(line.End);
        }
    }
    place.Die.Add({0, die.Window.Low}); // the axis, even where a region shows no wall
    place.Die.Add({0, die.Window.High});
    const double contentWidth = place.Die.Width() * mmPerUnit;
    const double contentHeight = place.Die.Height() * mmPerUnit;
    const double sheetWidth =
        contentWidth + 2 * kSheetMarginMm + kZoneLabelRoomMm + kDatumLabelRoomMm;
    const double sheetHeight = contentHeight + 2 * (kSheetMarginMm + kAxisOverhangMm);
    if (!std::isfinite(sheetWidth) || !std::isfinite(sheetHeight)) {
        return Refusal{"The profile cannot be drawn at this magnification."};
    }
    const double columns = TilesFor(sheetWidth, pages.TileWidth);
    const double rows = TilesFor(sheetHeight, pages.TileHeight);
    if (columns * rows > kMaxOverlayPages) {
        // Counted in words past a billion, where a count in figures no longer reads.
        const double count = columns * rows;
        return Refusal{"At " + NumberToText(options.Magnification) + "x the overlay would need " +
                       (count <= 1e9 ? NumberToText(count) : std::string("more than a billion")) +
                       " pages; at most " + NumberToText(kMaxOverlayPages) + " can be printed."};
    }
    pages.Columns = static_cast<int>(columns);
    pages.Rows = static_cast<int>(rows);
    place.StepX = pages.TileWidth - kPageOverlapMm;
    place.StepY = pages.TileHeight - kPageOverlapMm;
    // The pages together cover more than the sheet; the sheet sits in the middle of them.
    const double coveredWidth = pages.Columns * place.StepX + kPageOverlapMm;
    const double coveredHeight = pages.Rows * place.StepY + kPageOverlapMm;
    place.Left = (coveredWidth - sheetWidth) / 2 + kSheetMarginMm + kZoneLabelRoomMm;
    place.Top = (coveredHeight - contentHeight) / 2;
    return place;
}

// Texts set along a column: the datums at the right, each name above its line and its height below
// (left aligned), the zones' values at the left, each across its middle (right aligned). A label
// that would run into the last one is stacked on the side of its line away from it, and where even
// that is too close, moved further out.
class LabelColumn {
public:
    LabelColumn(double x, double outward) : x_(x), outward_(outward) {}
    void Add(OverlayPages& pages, double y, const std::vector<std::string>& lines) {
        constexpr double kGap = 0.8; // from a datum line to the letters above and below it
        constexpr double h = kOverlayTextMm;
        double width = 0;
        for (const std::string& line : lines) {
            width = std::max(width, TextWidth(line, h));
        }
        // The baselines, top to bottom, and the extent of the letters on the paper.
        std::vector<double> baselines = lines.size() == 1
                                            ? std::vector<double>{y + h / 2}
                                            : std::vector<double>{y - kGap, y + kGap + h};
        const auto clear = [this](const std::vector<double>& b) {
            return b.front() - kOverlayTextMm > lastBottom_ + 1 || b.back() < lastTop_ - 1;
        };
        double at = x_;
        if (!clear(baselines) && lines.size() == 2) {
            const std::vector<double> stacked =
                y > lastY_ ? std::vector<double>{y + kGap + h, y + kGap + 2 * h + 1}
                           : std::vector<double>{y - kGap - h - 1, y - kGap};
            if (clear(stacked)) {
                baselines = stacked;
            }
        }
        if (!clear(baselines)) {
            at = lastEnd_ + 2 * outward_;
        }
        const TextAlign align = outward_ > 0 ? TextAlign::Left : TextAlign::Right;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            pages.Texts.push_back({{at, baselines[i]}, lines[i], h, align});
        }
        lastY_ = y;
        lastTop_ = baselines.front() - h;
        lastBottom_ = baselines.back();
        lastEnd_ = at + outward_ * width;
    }

private:
    double x_;
    double outward_;
    double lastY_ = 0;
    double lastTop_ = std::numeric_limits<double>::infinity();
    double lastBottom_ = -std::numeric_limits<double>::infinity();
    double lastEnd_ = 0;
};

// The die's lines, the axis, the datums at every corner of the bore with their heights above the
// bottom face, the zones' nominal values (the bearing's diameter, the cones' included angles) and
// the lines at the cones' angle limits, on the sheet.
void DrawDie(const DieLines& die, const SheetPlacement& place, double unitDivisor,
             OverlayPages& pages) {
    for (const auto& [lines, stroke] : {std::pair{&die.Profile, OverlayStroke::Profile},
                                        std::pair{&die.Band, OverlayStroke::Band},
                                        std::pair{&die.AngleLimits, OverlayStroke::Band}}) {
        for (const SectionLine& line : *lines) {
            pages.Lines.push_back({place.ToPaper(line.Start.X, line.Start.Y),
                                   place.ToPaper(line.End.X, line.End.Y), stroke});
        }
    }
    const Point axisTop = place.ToPaper(0, die.Window.High);
    const Point axisBottom = place.ToPaper(0, die.Window.Low);
    const double overhang = place.Mirror ? -kAxisOverhangMm : kAxisOverhangMm;
    pages.Lines.push_back({{axisTop.X, axisTop.Y - overhang},
                           {axisBottom.X, axisBottom.Y + overhang},
                           OverlayStroke::Axis});
    const double left = place.ToPaper(place.Die.MinX, 0).X - kDatumOverhangMm;
    const double right = place.ToPaper(place.Die.MaxX, 0).X + kDatumOverhangMm;
    const BoreWall& w = die.Wall;
    const auto inWindow = [&die](double height) {
        return height >= die.Window.Low && height <= die.Window.High;
    };
    static constexpr const char* kCorners[] = {"top face", "bell to cone", "bearing start",
                                               "bearing end", "bottom face"};
    LabelColumn datums(right + 1.5, 1);
    for (std::size_t i = 0; i < w.size(); ++i) {
        // A corner at the height of the one above it (a zone of no length) shares its datum.
        if (!inWindow(w[i].Y) || (i > 0 && w[i].Y == w[i - 1].Y)) {
            continue;
        }
        const double y = place.ToPaper(0, w[i].Y).Y;
        pages.Lines.push_back({{left, y}, {right, y}, OverlayStroke::Datum});
        datums.Add(pages, y, {kCorners[i], SheetLength(w[i].Y - w.back().Y, unitDivisor)});
    }
    LabelColumn values(left - 1.5, -1);
    for (std::size_t i = 0; i + 1 < w.size(); ++i) {
        const double middle = (w[i].Y + w[i + 1].Y) / 2;
        const bool bearing = i == 2;
        if (!inWindow(middle) || (!bearing && !(w[i].Y > w[i + 1].Y))) {
            continue;
        }
        values.Add(pages, place.ToPaper(0, middle).Y,
                   {bearing ? "\u00D8" + SheetLength(2 * w[i].X, unitDivisor)
                            : SheetDegrees(std::fabs(IncludedAngleOf(w[i], w[i + 1])))});
    }
    for (const DieText& text : die.AngleTexts) {
        const Point at = place.ToPaper(text.At.X, text.At.Y);
        pages.Texts.push_back({{at.X + 1.5, at.Y + kOverlayTextMm / 2}, text.Text, kOverlayTextMm});
    }
}

// Two crosses along every edge that two pages share, and one where four pages meet.
void AddAlignmentMarks(const SheetPlacement& place, OverlayPages& pages) {
    const double stepX = place.StepX;
    const double stepY = place.StepY;
    for (int c = 1; c < pages.Columns; ++c) {
        const double x = c * stepX + kPageOverlapMm / 2;
        for (int r = 0; r < pages.Rows; ++r) {
            AddCross(pages.Lines, x, r * stepY + pages.TileHeight / 4);
            AddCross(pages.Lines, x, r * stepY + pages.TileHeight * 3 / 4);
        }
        for (int r = 1; r < pages.Rows; ++r) {
            AddCross(pages.Lines, x, r * stepY + kPageOverlapMm / 2);
        }
    }
    for (int r = 1; r < pages.Rows; ++r) {
        const double y = r * stepY + kPageOverlapMm / 2;
        for (int c = 0; c < pages.Columns; ++c) {
            AddCross(pages.Lines, c * stepX + pages.TileWidth / 4, y);
            AddCross(pages.Lines, c * stepX + pages.TileWidth * 3 / 4, y);
        }
    }
}

// The tile of the grid at row r, column c (0-based) on the sheet.
Bounds TileAt(const SheetPlacement& place, const OverlayPages& pages, int r, int c) {
    const double x = c * place.StepX;
    const double y = r * place.StepY;
    return {x, x + pages.TileWidth, y, y + pages.TileHeight};
}

// The grid's pages that hold part of the profile or the band, each with the lines that cross it
// and the texts that start on it. The tiles a line may cross follow from the steps (one more
// either side for the rounding), so a sheet of thousands of tiles costs no more than its lines.
void CutIntoPages(const SheetPlacement& place, OverlayPages& pages) {
    const std::size_t count =
        static_cast<std::size_t>(pages.Rows) * static_cast<std::size_t>(pages.Columns);
    std::vector<OverlayPage> grid(count);
    std::vector<bool> worth(count, false);
    const auto range = [](double low, double high, double tile, double step, int tiles) {
        const int first = std::max(0, static_cast<int>(std::floor((low - tile) / step)) - 1);
        const int last = std::min(tiles - 1, static_cast<int>(std::floor(high / step)) + 1);
        return std::pair{first, last};
    };
    const auto index = [&pages](int r, int c) {
        return static_cast<std::size_t>(r) * static_cast<std::size_t>(pages.Columns) +
               static_cast<std::size_t>(c);
    };
    for (std::size_t i = 0; i < pages.Lines.size(); ++i) {
        const PaperLine& line = pages.Lines[i];
        const auto [firstColumn, lastColumn] =
            range(std::min(line.Start.X, line.End.X), std::max(line.Start.X, line.End.X),
                  pages.TileWidth, place.StepX, pages.Columns);
        const auto [firstRow, lastRow] =
            range(std::min(line.Start.Y, line.End.Y), std::max(line.Start.Y, line.End.Y),
                  pages.TileHeight, place.StepY, pages.Rows);
        for (int r = firstRow; r <= lastRow; ++r) {
            for (int c = firstColumn; c <= lastColumn; ++c) {
                Point a = line.Start;
                Point b = line.End;
                if (ClipToBox(a, b, TileAt(place, pages, r, c))) {
                    grid[index(r, c)].Lines.push_back(i);
                    worth[index(r, c)] = worth[index(r, c)] ||
                                         line.Stroke == OverlayStroke::Profile ||
                                         line.Stroke == OverlayStroke::Band;
                }
            }
        }
    }
    for (std::size_t i = 0; i < pages.Texts.size(); ++i) {
        const Point at = pages.Texts[i].At;
        for (int r = 0; r < pages.Rows; ++r) {
            for (int c = 0; c < pages.Columns; ++c) {
                const Bounds tile = TileAt(place, pages, r, c);
                if (at.X >= tile.MinX && at.X <= tile.MaxX && at.Y >= tile.MinY &&
                    at.Y <= tile.MaxY) {
                    grid[index(r, c)].Texts.push_back(i);
                }
            }
        }
    }
    const std::string of =
        " of " + std::to_string(pages.Rows) + " \u00d7 " + std::to_string(pages.Columns);
    for (int r = 0; r < pages.Rows; ++r) {
        for (int c = 0; c < pages.Columns; ++c) {
            if (!worth[index(r, c)]) {
                continue;
            }
            OverlayPage page = std::move(grid[index(r, c)]);
            page.Row = r + 1;
            page.Column = c + 1;
            page.Origin = {c * place.StepX, r * place.StepY};
            page.Label = "row " + std::to_string(r + 1) + ", column " + std::to_string(c + 1) + of;
            pages.Pages.push_back(std::move(page));
        }
    }
}

// The foot of every page: what is drawn on the first line, the band and the mirroring on the
// second, then the warning's lines if any, the horizontal check bar with its statement and the
// page's label on the last; the vertical bar in the strip at the right.
void AddFootAndSide(const OverlayOptions& options, double unitDivisor, std::string_view designName,
                    const std::vector<std::string>& warningLines, OverlayPages& pages) {
    const bool inches = unitDivisor == kInchUnitDivisor;
    const double bar = inches ? 2 * kMillimetresPerInch : 50;
    pages.CheckBarMm = bar;
    pages.Statement = "this bar is " + std::string(inches ? "2 in" : "50 mm") + " long";
    const double left = kPaperMarginMm;
    const double footTop = kPaperMarginMm + pages.TileHeight;
    const double warningHeight = static_cast<double>(warningLines.size()) * kFootLineMm;
    const double barY = footTop + kFooterHeightMm + warningHeight - 3;
    constexpr double kTick = 1.5;
    pages.FooterLines = {
        {{left, barY}, {left + bar, barY}, OverlayStroke::CheckBar},
        {{left, barY - kTick}, {left, barY + kTick}, OverlayStroke::CheckBar},
        {{left + bar, barY - kTick}, {left + bar, barY + kTick}, OverlayStroke::CheckBar},
    };
    // Upright in the side strip, ending at the foot: printers often scale the feed direction
    // differently from the other.
    const double barX = kPaperMarginMm + pages.TileWidth + kSideStripMm / 2;
    pages.FooterLines.push_back({{barX, footTop}, {barX, footTop - bar}, OverlayStroke::CheckBar});
    pages.FooterLines.push_back(
        {{barX - kTick, footTop}, {barX + kTick, footTop}, OverlayStroke::CheckBar});
    pages.FooterLines.push_back(
        {{barX - kTick, footTop - bar}, {barX + kTick, footTop - bar}, OverlayStroke::CheckBar});

    std::string info = "magnification " + NumberToText(options.Magnification) +
                       "\u00d7    lengths in " + std::string(UnitName(unitDivisor));
    if (options.Region != OverlayRegion::All) {
        info += "    region: " + std::string(OverlayRegionName(options.Region));
    }
    if (!designName.empty()) {
        // A long name is cut short rather than run off the page; what is drawn stays whole.
        const double printable = pages.PaperWidth - 2 * kPaperMarginMm;
        info = "    " + info;
        const std::string name =
            TextWidth(std::string(designName) + info, kOverlayTextMm) <= printable
                ? std::string(designName)
                : CutToWidth(designName, kOverlayTextMm,
                             printable - TextWidth(info, kOverlayTextMm));
        info = name + info;
    }
    std::string band = options.Tolerance > 0
                           ? "tolerance band \u00b1" + NumberToText(options.Tolerance) + " " +
                                 std::string(UnitSymbol(unitDivisor)) + " on the radius"
                           : std::string("no tolerance band");
    if (options.AngleTolerance > 0) {
        band += "    cone lines at \u00b1" + NumberToText(options.AngleTolerance) +
                "\u00b0 on the included angle";
    }
    if (options.Mirror) {
        band += "    MIRRORED for reversing optics: the entry face is at the bottom";
    }
    pages.FooterTexts = {
        {{left, footTop + 5}, std::move(info), kOverlayTextMm},
        {{left, footTop + 10}, std::move(band), kOverlayTextMm},
        {{left + bar + 3, barY + kOverlayTextMm / 2}, pages.Statement, kOverlayTextMm},
        {{barX + 1.5 + kOverlayTextMm, footTop - bar / 2},
         pages.Statement,
         kOverlayTextMm,
         TextAlign::Centre,
         90},
    };
    // On every page, so that the sheet under the lamp says itself what it cannot show.
    double y = footTop + 2 * kFootLineMm;
    for (const std::string& line : warningLines) {
        y += kFootLineMm;
        pages.FooterTexts.push_back({{left, y}, line, kOverlayTextMm});
    }
    pages.LabelAt = {kPaperMarginMm + pages.TileWidth, barY + kOverlayTextMm / 2};
}

// The band either side of a wall is the tolerance times the magnification on paper; narrower than
// two of the profile's line widths, the line hides it.
std::string BandWarning(const OverlayOptions& options, double mmPerUnit) {
    const double band = options.Tolerance * mmPerUnit;
    const double least = kBandLineWidths * OverlayStrokeWidthMm(OverlayStroke::Profile);
    if (options.Tolerance <= 0 || band >= least) {
        return {};
    }
    return "The tolerance band is " + NumberToText(std::round(band * 1000) / 1000) +
           " mm wide on paper, less than twice the " +
           NumberToText(OverlayStrokeWidthMm(OverlayStroke::Profile)) +
           " mm line that hides it: choose a higher magnification.";
}

} // namespace

namespace {

Expected<OverlayPages> LayOutOnPaper(const SectionFrame& frame, const DrawingScene& scene,
                                     double unitDivisor, const OverlayOptions& options,
                                     std::string_view designName, double paperWidthMm,
                                     double paperHeightMm) {
    OverlayPages pages;
    // Lengths of the die are in the unit in force; the unit divisor is millimetres per unit.
    const double mmPerUnit = unitDivisor * options.Magnification;
    pages.Warning = BandWarning(options, mmPerUnit);
    // The warning is printed in the foot, which grows by its lines; the least page is measured
    // with them.
    const double printable = paperWidthMm - 2 * kPaperMarginMm;
    const std::vector<std::string> warningLines =
        pages.Warning.empty()
            ? std::vector<std::string>()
            : Wrap(pages.Warning, kOverlayTextMm, std::max(printable, kMinPrintableWidthMm),
                   std::numeric_limits<std::size_t>::max());
    const double footHeight =
        kFooterHeightMm + static_cast<double>(warningLines.size()) * kFootLineMm;
    pages.PaperWidth = paperWidthMm;
    pages.PaperHeight = paperHeightMm;
    pages.TileWidth = printable - kSideStripMm;
    pages.TileHeight = paperHeightMm - 2 * kPaperMarginMm - footHeight;
    if (!(printable >= kMinPrintableWidthMm && pages.TileHeight >= kMinTileHeightMm)) {
        return Refusal{"The page is too small for an overlay: its printable area must be at "
                       "least " +
                       NumberToText(kMinPrintableWidthMm) + " mm by " +
                       NumberToText(kMinTileHeightMm + footHeight) + " mm."};
    }
    const DieLines die = DieLinesOf(frame, scene, options);
    const Expected<SheetPlacement> placed = PlaceOnSheet(die, mmPerUnit, options, pages);
    if (!placed) {
        return placed.Error();
    }
    const SheetPlacement& place = *placed;
    DrawDie(die, place, unitDivisor, pages);
    AddAlignmentMarks(place, pages);
    CutIntoPages(place, pages);
    AddFootAndSide(options, unitDivisor, designName, warningLines, pages);
    return pages;
}

} // namespace

Expected<OverlayPages> LayOutOverlay(const SectionFrame& frame, const DrawingScene& scene,
                                     double unitDivisor, const OverlayOptions& options,
                                     std::string_view designName, double paperWidthMm,
                                     double paperHeightMm) {
    if (Expected<void> drawable = CheckOverlayOptions(options); !drawable) {
        return drawable.Error();
    }
    const double shortSide = std::min(paperWidthMm, paperHeightMm);
    const double longSide = std::max(paperWidthMm, paperHeightMm);
    const auto layOut = [&](bool landscape) {
        return LayOutOnPaper(frame, scene, unitDivisor, options, designName,
                             landscape ? longSide : shortSide, landscape ? shortSide : longSide);
    };
    if (options.Orientation != OverlayOrientation::Auto) {
        return layOut(options.Orientation == OverlayOrientation::Landscape);
    }
    // Each way round is bounded by the page count before its pages are made; landscape is taken
    // only when it prints fewer pages, or when portrait cannot be printed and it can.
    auto portrait = layOut(false);
    auto landscape = layOut(true);
    if (landscape && (!portrait || landscape->Pages.size() < portrait->Pages.size())) {
        return landscape;
    }
    return portrait;
}

std::vector<Page> OverlayPaper(const OverlayPages& pages) {
    std::vector<Page> paper;
    paper.reserve(pages.Pages.size());
    const auto lineOf = [](const PaperLine& line, Point start, Point end) {
        return PageLine{start, end, OverlayStrokeWidthMm(line.Stroke),
                        line.Stroke == OverlayStroke::Axis ? LineType::Centre
                                                           : LineType::Continuous};
    };
    for (const OverlayPage& tile : pages.Pages) {
        Page page;
        page.WidthMm = pages.PaperWidth;
        page.HeightMm = pages.PaperHeight;
        const Bounds box{tile.Origin.X, tile.Origin.X + pages.TileWidth, tile.Origin.Y,
                         tile.Origin.Y + pages.TileHeight};
        const auto onPaper = [&tile](Point p) {
            return Point{p.X - tile.Origin.X + kPaperMarginMm,
                         p.Y - tile.Origin.Y + kPaperMarginMm};
        };
        for (const std::size_t i : tile.Lines) {
            Point start = pages.Lines[i].Start;
            Point end = pages.Lines[i].End;
            if (ClipToBox(start, end, box)) {
                page.Lines.push_back(lineOf(pages.Lines[i], onPaper(start), onPaper(end)));
            }
        }
        for (const std::size_t i : tile.Texts) {
            PageText text = pages.Texts[i];
            text.At = onPaper(text.At);
            page.Texts.push_back(std::move(text));
        }
        for (const PaperLine& line : pages.FooterLines) {
            page.Lines.push_back(lineOf(line, line.Start, line.End));
        }
        page.Texts.insert(page.Texts.end(), pages.FooterTexts.begin(), pages.FooterTexts.end());
        page.Texts.push_back({pages.LabelAt, tile.Label, kOverlayTextMm, TextAlign::Right});
        paper.push_back(std::move(page));
    }
    return paper;
}

std::string PageCountText(std::size_t pages) {
    return std::to_string(pages) + (pages == 1 ? " page" : " pages");
}

} // namespace dieprofile

#include "output/sheet_layout.h"

#include "core/number_text.h"
#include "core/units.h"
#include "output/text_fit.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

namespace dieprofile {

namespace {

// ISO 128 line widths, ISO 5457 frame.
constexpr double kWide = 0.5;
constexpr double kNarrow = 0.25;
constexpr double kFrameLine = 0.7;
// The frame: a filing margin on the left, 10 mm elsewhere.
constexpr double kLeftMargin = 20;
constexpr double kMargin = 10;
// The title block is no wider than ISO 7200 allows; the inputs and results stand above it.
constexpr double kTitleWidth = 180;
constexpr double kResultsWidth = 105;
constexpr double kClearance = 5;
// ISO 3098 lettering: dimensions and values 3.5 mm, captions and the results 2.5 mm.
constexpr double kDimText = kSheetDimensionTextMm;
constexpr double kSmallText = 2.5;
// ISO 129-1 dimensioning, on paper: the first dimension line 10 mm off the outline, the next 8 mm
// further; extension lines 2 mm past the dimension line; arrowheads 3 mm long, 30° included.
constexpr double kFirstDimension = 10;
constexpr double kNextDimension = 8;
constexpr double kExtensionBeyond = 2;
constexpr double kArrowLength = 3;
const double kArrowHalfWidth = kArrowLength * std::tan(15 * std::numbers::pi / 180);
constexpr double kTextGap = 1;
// How far the wires run past the die's faces (the entering one past its dimension above the
// mouth's), and the axis past the wires.
constexpr double kWireStub = kSheetWireStubMm;
constexpr double kMouthDimension = 7;
constexpr double kIncomingDimension = 14;
constexpr double kIncomingStub = kIncomingDimension + kExtensionBeyond;
constexpr double kAxisBeyond = kSheetAxisBeyondMm;
// A zone too short for its value: the value stands horizontal beyond the chain, on a leader that
// runs this far out before its shoulder; room is kept for a value this wide.
constexpr double kLeaderRun = 4;
constexpr double kLeaderValueRoom = 18;
constexpr double kHatchSpacing = 2.5;
// Room the dimensions need around the die, on paper.
constexpr double kRoomLeft = kFirstDimension + kTextGap + kDimText + 2;
constexpr double kRoomRight = kFirstDimension + kLeaderRun + kLeaderValueRoom;
constexpr double kRoomTop = kIncomingStub + kAxisBeyond + 1;
constexpr double kRoomBottom = kFirstDimension + kNextDimension + kExtensionBeyond + 1;

std::string Degrees(double angle) {
    return SheetDegrees(angle);
}

Point UnitOf(Point from, Point to) {
    const double length = std::hypot(to.X - from.X, to.Y - from.Y);
    return length > 0 ? Point{(to.X - from.X) / length, (to.Y - from.Y) / length} : Point{};
}

class SheetBuilder {
public:
    explicit SheetBuilder(Page& page) : page_(page) {}

    void Line(Point a, Point b, double width = kNarrow, LineType type = LineType::Continuous) {
        page_.Lines.push_back({a, b, width, type});
    }
    void Text(Point at, std::string text, double height, TextAlign align = TextAlign::Left,
              double angle = 0, bool bold = false) {
        page_.Texts.push_back({at, std::move(text), height, align, angle, bold, false});
    }
    // A filled arrowhead with its tip at tip, pointing along direction (a unit vector).
    void Arrow(Point tip, Point direction) {
        const Point back = tip + direction * -kArrowLength;
        const Point across{-direction.Y * kArrowHalfWidth, direction.X * kArrowHalfWidth};
        page_.Outlines.push_back({{tip, back + across, back + across * -1.0}, true, kNarrow});
    }
    // A line of the section's hatching, which gives way to any text laid over it.
    void HatchLine(Point a, Point b) {
        hatching_.push_back(page_.Lines.size());
        Line(a, b);
    }
    // Interrupts the hatching where a text stands on it, as a drafter leaves the value clear.
    void ClearHatchingUnderTexts();
    // Whether a text would stand clear of every text already on the sheet.
    bool StandsClear(const PageText& text) const;
    // Whether a text would stand clear of every line already on the sheet but the hatching.
    bool ClearOfLines(const PageText& text) const;
    void Rectangle(double left, double top, double right, double bottom, double width) {
        Line({left, top}, {right, top}, width);
        Line({right, top}, {right, bottom}, width);
        Line({right, bottom}, {left, bottom}, width);
        Line({left, bottom}, {left, top}, width);
    }

private:
    Page& page_;
    std::vector<std::size_t> hatching_;
};

struct Box {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

// Where a text stands on the paper, from the top of its accents to the foot of its descenders,
// with a little clear space around it; upright or turned a quarter turn, as the sheet sets them.
Box BoxOf(const PageText& text) {
    constexpr double kClear = 0.5;
    const double above = 1.35 * text.HeightMm + kClear;
    const double below = 0.35 * text.HeightMm + kClear;
    const double width = TextWidth(text.Text, text.HeightMm);
    const double before = text.Align == TextAlign::Left     ? 0
                          : text.Align == TextAlign::Centre ? width / 2
                                                            : width;
    if (text.AngleDeg == 90) {
        return {text.At.X - above, text.At.Y - (width - before) - kClear, text.At.X + below,
                text.At.Y + before + kClear};
    }
    return {text.At.X - before - kClear, text.At.Y - above, text.At.X + (width - before) + kClear,
            text.At.Y + below};
}

// The parts of a line outside a box: none, one or two pieces.
std::vector<PageLine> Outside(const PageLine& line, const Box& box) {
    const std::optional<ClipSpan> span =
        ClippedSpan(line.Start, line.End, Bounds{box.Left, box.Right, box.Top, box.Bottom});
    if (!span || span->Enter >= span->Leave) {
        return {line};
    }
    const double enter = span->Enter;
    const double leave = span->Leave;
    const double dx = line.End.X - line.Start.X;
    const double dy = line.End.Y - line.Start.Y;
    const auto at = [&](double t) { return Point{line.Start.X + t * dx, line.Start.Y + t * dy}; };
    std::vector<PageLine> pieces;
    if (enter > 0) {
        pieces.push_back({line.Start, at(enter), line.WidthMm, line.Type});
    }
    if (leave < 1) {
        pieces.push_back({at(leave), line.End, line.WidthMm, line.Type});
    }
    return pieces;
}

bool Overlap(const Box& a, const Box& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool SheetBuilder::StandsClear(const PageText& text) const {
    const Box box = BoxOf(text);
    return std::ranges::none_of(page_.Texts,
                                [&](const PageText& other) { return Overlap(box, BoxOf(other)); });
}

bool SheetBuilder::ClearOfLines(const PageText& text) const {
    const Box box = BoxOf(text);
    const Bounds bounds{box.Left, box.Right, box.Top, box.Bottom};
    for (std::size_t i = 0; i < page_.Lines.size(); ++i) {
        const std::optional<ClipSpan> span =
            ClippedSpan(page_.Lines[i].Start, page_.Lines[i].End, bounds);
        if (span && span->Enter < span->Leave && !std::ranges::binary_search(hatching_, i)) {
            return false;
        }
    }
    return true;
}

void SheetBuilder::ClearHatchingUnderTexts() {
    std::vector<PageLine> kept;
    std::vector<bool> hatch(page_.Lines.size(), false);
    for (const std::size_t i : hatching_) {
        hatch[i] = true;
    }
    for (std::size_t i = 0; i < page_.Lines.size(); ++i) {
        std::vector<PageLine> pieces{page_.Lines[i]};
        if (hatch[i]) {
            for (const PageText& text : page_.Texts) {
                std::vector<PageLine> rest;
                for (const PageLine& piece : pieces) {
                    for (const PageLine& part : Outside(piece, BoxOf(text))) {
                        rest.push_back(part);
                    }
                }
                pieces = std::move(rest);
            }
        }
        kept.insert(kept.end(), pieces.begin(), pieces.end());
    }
    page_.Lines = std::move(kept);
    hatching_.clear();
}

// The die on paper: true lengths times the scale, the axis at AxisX, the bottom face at BaseY.
struct DieOnPaper {
    double AxisX = 0;
    double BaseY = 0;
    double MmPerUnit = 1; // paper millimetres per true unit: the unit's millimetres × the scale
    double PaperWidth = 0;
    double PaperHeight = 0;
    Point At(double x, double y) const { return {AxisX + x * MmPerUnit, BaseY - y * MmPerUnit}; }
    Point At(Point p) const { return At(p.X, p.Y); }
};

// Lines at 45° across a closed outline, spaced evenly on paper; never more than the paper of
// width and height holds, however large the outline.
void Hatch(SheetBuilder& sheet, const std::vector<Point>& outline, double width, double height) {
    double low = INFINITY;
    double high = -INFINITY;
    for (const Point p : outline) {
        low = std::min(low, p.X + p.Y);
        high = std::max(high, p.X + p.Y);
    }
    low = std::max(low, 0.0);
    high = std::min(high, width + height);
    const double step = kHatchSpacing * std::numbers::sqrt2;
    for (double c = std::ceil(low / step) * step; c < high; c += step) {
        std::vector<Point> crossings;
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const Point a = outline[i];
            const Point b = outline[(i + 1) % outline.size()];
            const double fa = a.X + a.Y - c;
            const double fb = b.X + b.Y - c;
            if ((fa < 0) != (fb < 0)) {
                const double t = fa / (fa - fb);
                crossings.push_back({a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)});
            }
        }
        std::ranges::sort(crossings, {}, &Point::X);
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            sheet.HatchLine(crossings[i], crossings[i + 1]);
        }
    }
}

// A diameter across the axis: dimension line at height y between left and right, the value
// right of the axis, or beyond the right arrow when the space between them is too small (or the
// wires run through it: outside).
void Diameter(SheetBuilder& sheet, double left, double right, double axis, double y,
              const std::string& value, double clearOf = -INFINITY, bool outside = false) {
    const double width = TextWidth(value, kDimText);
    const bool arrowsInside = right - left >= 2 * kArrowLength + 2;
    const double rightHalf = right - axis - kArrowLength - 2 * kTextGap;
    const bool textInside = !outside && arrowsInside && width <= rightHalf;
    double lineLeft = left;
    double lineRight = right;
    if (arrowsInside) {
        sheet.Arrow({left, y}, {-1, 0});
        sheet.Arrow({right, y}, {1, 0});
    } else {
        sheet.Arrow({left, y}, {1, 0});
        sheet.Arrow({right, y}, {-1, 0});
        lineLeft = left - kArrowLength - 2;
    }
    if (textInside) {
        sheet.Text({axis + kTextGap + (right - axis - kArrowLength - kTextGap) / 2, y - kTextGap},
                   value, kDimText, TextAlign::Centre);
    } else {
        double textLeft = right + (arrowsInside ? 2 : kArrowLength + 2);
        // Not across an extension line that runs through this height.
        if (textLeft - 1 < clearOf && clearOf < textLeft + width + 1) {
            textLeft = clearOf + 2;
        }
        sheet.Text({textLeft, y - kTextGap}, value, kDimText);
        lineRight = textLeft + width;
    }
    sheet.Line({lineLeft, y}, {lineRight, y});
}

// A diameter of the bore that the sheet gives left of the bore: the cone's entry or the bearing,
// its value and the deviations written after it.
struct BoreDimension {
    double Radius = 0; // true units
    std::string Value;
    std::array<std::string, 2> Deviations;
};

double DeviationWidth(const std::array<std::string, 2>& deviations) {
    return std::max(TextWidth(deviations[0], kSmallText), TextWidth(deviations[1], kSmallText));
}

// The value with its deviations after it, on paper.
double ValueWidth(const BoreDimension& d) {
    const double deviationWidth = DeviationWidth(d.Deviations);
    return TextWidth(d.Value, kDimText) + (deviationWidth > 0 ? deviationWidth + 0.8 : 0);
}

// Where a bore diameter's value ends on the left when the cut face between the wall (at wallX) and
// the blank's outline (at outlineX) is too narrow for it: outside the outline, on its dimension
// line run on across the face. Nothing where the value fits the face, as on every usual sheet.
std::optional<double> OutsideEnd(double wallX, double outlineX, const BoreDimension& d) {
    const double start = wallX - kArrowLength - 2 - ValueWidth(d);
    if (start - 0.5 >= outlineX + kWide / 2) {
        return std::nullopt;
    }
    return outlineX - 2;
}

// A diameter of the bore itself, at the height on paper where it is the wall's: the arrows from
// outside onto both walls (the bore between them holds its edges, the wires and the axis), the
// dimension line run on to the left into the cut face (or beyond the outline, to outsideEnd, where
// the face is too narrow), the value on it, and after the value its deviations, the upper above
// the lower, in smaller lettering. Above the line, or below it where the space above is taken;
// outside the outline, where the lines there leave no room above.
void BoreDiameter(SheetBuilder& sheet, double left, double right, double y, const BoreDimension& d,
                  std::optional<double> outsideEnd) {
    sheet.Arrow({left, y}, {1, 0});
    sheet.Arrow({right, y}, {-1, 0});
    const double end = outsideEnd.value_or(left - kArrowLength - 2);
    const double deviationWidth = DeviationWidth(d.Deviations);
    const double gap = deviationWidth > 0 ? 0.8 : 0;
    const double valueRight = end - deviationWidth - gap;
    const double start = valueRight - TextWidth(d.Value, kDimText);
    const auto lettering = [&](double baseline) {
        std::vector<PageText> texts{{{valueRight, baseline}, d.Value, kDimText, TextAlign::Right}};
        const double deviationX = end - deviationWidth;
        if (!d.Deviations[1].empty()) {
            texts.push_back(
                {{deviationX, baseline - kSmallText - 1.2}, d.Deviations[0], kSmallText});
            texts.push_back({{deviationX, baseline}, d.Deviations[1], kSmallText});
        } else if (!d.Deviations[0].empty()) {
            texts.push_back({{deviationX, baseline}, d.Deviations[0], kSmallText});
        }
        return texts;
    };
    const auto clear = [&](double baseline) {
        const std::vector<PageText> texts = lettering(baseline);
        if (!outsideEnd) {
            return sheet.StandsClear(texts.front());
        }
        return std::ranges::all_of(texts, [&](const PageText& text) {
            return sheet.StandsClear(text) && sheet.ClearOfLines(text);
        });
    };
    double baseline = y - kTextGap;
    if (!clear(baseline)) {
        baseline = y + kTextGap + 1.35 * kDimText;
    }
    for (const PageText& text : lettering(baseline)) {
        sheet.Text(text.At, text.Text, text.HeightMm, text.Align);
    }
    sheet.Line({start, y}, {right + kArrowLength + 2, y});
}

// A vertical dimension between two heights on paper at x; the value along the line on the side
// given (-1 left, +1 right) of it, read from the right. Arrows outside when the space is short.
void Vertical(SheetBuilder& sheet, double x, double top, double bottom, const std::string& value,
              double side) {
    const double length = bottom - top;
    if (length >= 2 * kArrowLength + 1) {
        sheet.Arrow({x, top}, {0, -1});
        sheet.Arrow({x, bottom}, {0, 1});
        sheet.Line({x, top}, {x, bottom});
    } else {
        sheet.Arrow({x, top}, {0, 1});
        sheet.Arrow({x, bottom}, {0, -1});
        sheet.Line({x, top - kArrowLength - 1}, {x, bottom + kArrowLength + 1});
    }
    if (!value.empty()) {
        const double baseline = side < 0 ? x - kTextGap : x + kTextGap + kDimText;
        sheet.Text({baseline, (top + bottom) / 2}, value, kDimText, TextAlign::Centre, 90);
    }
}

struct Zone {
    double Top = 0; // heights on paper
    double Bottom = 0;
    std::string Value;
};

// The bore's zones as one chain of dimensions at x. A value that fits between its arrows stands
// left of the line; one that does not stands outside, right of the chain, on the shoulder of a
// leader from its dimension line: level with the zone where that is clear of every other text,
// else at the nearest height that is.
void Chain(SheetBuilder& sheet, double x, const std::vector<Zone>& zones) {
    for (const Zone& zone : zones) {
        const double length = zone.Bottom - zone.Top;
        const double width = TextWidth(zone.Value, kDimText);
        if (width + 2 * kArrowLength + 2 <= length) {
            Vertical(sheet, x, zone.Top, zone.Bottom, zone.Value, -1);
        }
    }
    for (const Zone& zone : zones) {
        const double width = TextWidth(zone.Value, kDimText);
        if (width + 2 * kArrowLength + 2 <= zone.Bottom - zone.Top) {
            continue;
        }
        Vertical(sheet, x, zone.Top, zone.Bottom, "", 1);
        const double middle = (zone.Top + zone.Bottom) / 2;
        PageText value{{x + kLeaderRun + kTextGap, middle + kDimText / 2},
                       zone.Value,
                       kDimText,
                       TextAlign::Left,
                       0,
                       false,
                       false};
        const double level = value.At.Y;
        // Half a millimetre below, then above, then a millimetre below, and so on.
        for (int step = 1; step < 400 && !sheet.StandsClear(value); ++step) {
            const int halfMillimetres = (step + 1) / 2;
            value.At.Y = level + (step % 2 == 1 ? 0.5 : -0.5) * halfMillimetres;
        }
        const double shoulder = value.At.Y + kTextGap;
        sheet.Line({x, middle}, {x + kLeaderRun, shoulder});
        sheet.Line({x + kLeaderRun, shoulder}, {x + kLeaderRun + 2 * kTextGap + width, shoulder});
        sheet.Text(value.At, value.Text, kDimText);
    }
}

// The included angle between a zone's two walls, from the right-hand wall's ends (true units),
// as an arc about the point where the walls meet on the axis; the value on the axis, beyond the
// arc. Walls parallel to the axis have no angle to dimension.
void IncludedAngle(SheetBuilder& sheet, const DieOnPaper& die, Point upper, Point lower,
                   double angle) {
    if (std::abs(upper.X - lower.X) < 1e-12 || std::abs(upper.Y - lower.Y) < 1e-12) {
        return;
    }
    const double apexY = upper.Y - upper.X * (lower.Y - upper.Y) / (lower.X - upper.X);
    const Point apex = die.At(0, apexY);
    const Point middle = die.At((upper.X + lower.X) / 2, (upper.Y + lower.Y) / 2);
    const double radius = std::hypot(middle.X - apex.X, middle.Y - apex.Y);
    const Point toWall = UnitOf(apex, middle);
    const double away = toWall.Y < 0 ? -1 : 1; // up the paper or down it, from the apex
    const double half = std::atan2(std::abs(toWall.X), std::abs(toWall.Y));
    const auto on = [&](double theta) {
        return Point{apex.X + radius * std::sin(theta), apex.Y + away * radius * std::cos(theta)};
    };
    // The arc's tangent at theta, in the direction of growing theta.
    const auto tangent = [&](double theta) {
        return Point{std::cos(theta), -away * std::sin(theta)};
    };
    const bool inside = 2 * half * radius >= 2 * kArrowLength + 2;
    const double beyond = inside ? 0 : (kArrowLength + 1) / radius;
    // Chords of half a millimetre: on paper an arc is shorter than the paper is wide, but the DXF
    // draws the die at its own size, so a die of any size gets at most 4,096 of them.
    const double chords = 2 * (half + beyond) * radius / 0.5;
    const int steps = std::isfinite(chords) ? static_cast<int>(std::clamp(chords, 8.0, 4096.0)) : 8;
    for (int i = 0; i < steps; ++i) {
        const double a = -half - beyond + 2 * (half + beyond) * i / steps;
        const double b = -half - beyond + 2 * (half + beyond) * (i + 1) / steps;
        sheet.Line(on(a), on(b));
    }
    const double direction = inside ? 1 : -1;
    sheet.Arrow(on(half), tangent(half) * direction);
    sheet.Arrow(on(-half), tangent(-half) * -direction);
    // The value beside the axis rather than across it, where the bore leaves room for it;
    // otherwise beyond the right-hand wall, at the arc's end, with the hatching cleared under it.
    const std::string value = Degrees(angle);
    const Point end = on(0);
    if (radius * std::sin(half) >= TextWidth(value, kDimText) + 2 * kTextGap) {
        const double baseline =
            away < 0 ? end.Y - 1.5 * kTextGap : end.Y + 1.5 * kTextGap + kDimText;
        sheet.Text({end.X + kTextGap, baseline}, value, kDimText);
    } else {
        const Point tip = on(half);
        sheet.Text(
            {tip.X + (inside ? 2 * kTextGap : kArrowLength + 2 * kTextGap), tip.Y + kDimText / 2},
            value, kDimText);
    }
}

bool Bends(Point a, Point b, Point c) {
    const double cross = (b.X - a.X) * (c.Y - b.Y) - (b.Y - a.Y) * (c.X - b.X);
    const double scale = std::hypot(b.X - a.X, b.Y - a.Y) * std::hypot(c.X - b.X, c.Y - b.Y);
    return scale > 0 && std::abs(cross) > 1e-9 * scale;
}

void DrawDie(SheetBuilder& sheet, const SheetSection& s, const DieOnPaper& die) {
    const double r = s.BlankDiameter / 2;
    const double h = s.BlankHeight;
    const std::array<Point, 5>& w = s.Wall;
    const double stub = kWireStub / die.MmPerUnit;

    // The cut faces of the blank, both sides of the bore, hatched as one part.
    for (const double side : {-1.0, 1.0}) {
        std::vector<Point> face{die.At(side * w[4].X, 0), die.At(side * r, 0), die.At(side * r, h)};
        for (const Point p : w) {
            if (p.Y > 0) {
                face.push_back(die.At(side * p.X, p.Y));
            }
        }
        Hatch(sheet, face, die.PaperWidth, die.PaperHeight);
    }

    // Visible outlines: the blank's sides and faces, both walls, and the edges where the bore's
    // cones meet, seen across the bore.
    for (const double side : {-1.0, 1.0}) {
        sheet.Line(die.At(side * r, 0), die.At(side * r, h), kWide);
        sheet.Line(die.At(side * r, h), die.At(side * w[0].X, h), kWide);
        sheet.Line(die.At(side * r, 0), die.At(side * w[4].X, 0), kWide);
        for (std::size_t i = 0; i + 1 < w.size(); ++i) {
            if (!(w[i] == w[i + 1])) {
                sheet.Line(die.At(side * w[i].X, w[i].Y), die.At(side * w[i + 1].X, w[i + 1].Y),
                           kWide);
            }
        }
    }
    for (std::size_t i = 1; i + 1 < w.size(); ++i) {
        if (Bends(w[i - 1], w[i], w[i + 1]) && w[i].X > 0) {
            sheet.Line(die.At(-w[i].X, w[i].Y), die.At(w[i].X, w[i].Y), kWide);
        }
    }

    // The wires beside the die: the entering one down to where it rests (on the top face when it
    // is wider than the mouth), the drawn one from the end of the bearing out of the die.
    const double rIn = s.IncomingDiameter / 2;
    const double rOut = s.OutletDiameter / 2;
    const double rests = rIn > w[0].X ? h : std::clamp(s.WireLowerEnd, 0.0, h);
    const double bearingEnd = w[3].Y;
    for (const double side : {-1.0, 1.0}) {
        sheet.Line(die.At(side * rIn, h + kIncomingStub / die.MmPerUnit), die.At(side * rIn, rests),
                   kNarrow, LineType::Phantom);
        sheet.Line(die.At(side * rOut, bearingEnd), die.At(side * rOut, -stub), kNarrow,
                   LineType::Phantom);
    }
    // The axis, past the wires at both ends.
    const double axisBelow = (kWireStub + kAxisBeyond) / die.MmPerUnit;
    const double axisAbove = (kIncomingStub + kAxisBeyond) / die.MmPerUnit;
    sheet.Line(die.At(0, -axisBelow), die.At(0, h + axisAbove), kNarrow, LineType::Centre);
}

// The cone's entry and the bearing, the bearing with its deviations.
std::array<BoreDimension, 2> BoreDimensionsOf(const SheetSection& s,
                                              const std::array<std::string, 2>& bearingDeviations) {
    return {
        {{s.Wall[1].X, "\u00D8" + SheetLength(2 * s.Wall[1].X, s.UnitDivisor), {}},
         {s.Wall[2].X, "\u00D8" + SheetLength(2 * s.Wall[2].X, s.UnitDivisor), bearingDeviations}}};
}

// Where the blank's height is dimensioned on its left: 10 mm off the outline, or further out,
// beyond the value of a bore diameter that stands outside the outline.
double HeightDimensionX(const SheetSection& s, const DieOnPaper& die,
                        const std::array<BoreDimension, 2>& bore) {
    const double outlineX = die.At(-s.BlankDiameter / 2, 0).X;
    double x = outlineX - kFirstDimension;
    for (const BoreDimension& d : bore) {
        if (const std::optional<double> end = OutsideEnd(die.At(-d.Radius, 0).X, outlineX, d)) {
            x = std::min(x, *end - ValueWidth(d) - 3);
        }
    }
    return x;
}

void DimensionDie(SheetBuilder& sheet, const SheetSection& s, const DieOnPaper& die,
                  const std::array<std::string, 2>& bearingDeviations) {
    const double unit = s.UnitDivisor;
    const double r = s.BlankDiameter / 2;
    const double h = s.BlankHeight;
    const std::array<Point, 5>& w = s.Wall;
    const Point bottomLeft = die.At(-r, 0);
    const Point topRight = die.At(r, h);
    const Point bottomRight = die.At(r, 0);
    const double axis = die.AxisX;

    // The blank's height on its left.
    const std::array<BoreDimension, 2> bore = BoreDimensionsOf(s, bearingDeviations);
    const double heightX = HeightDimensionX(s, die, bore);
    sheet.Line(die.At(-r, h), {heightX - kExtensionBeyond, topRight.Y});
    sheet.Line(bottomLeft, {heightX - kExtensionBeyond, bottomLeft.Y});
    Vertical(sheet, heightX, topRight.Y, bottomLeft.Y, SheetLength(h, unit), -1);

    // The exit opening at the bottom face, the blank's diameter below it; the value beside the
    // opening, clear of the drawn wire.
    const double exitY = bottomLeft.Y + kFirstDimension;
    const double blankY = exitY + kNextDimension;
    const Point exitLeft = die.At(-w[4].X, 0);
    const Point exitRight = die.At(w[4].X, 0);
    sheet.Line(exitLeft, {exitLeft.X, exitY + kExtensionBeyond});
    sheet.Line(exitRight, {exitRight.X, exitY + kExtensionBeyond});
    Diameter(sheet, exitLeft.X, exitRight.X, axis, exitY, "\u00D8" + SheetLength(2 * w[4].X, unit),
             bottomRight.X, true);
    sheet.Line(bottomLeft, {bottomLeft.X, blankY + kExtensionBeyond});
    sheet.Line(bottomRight, {bottomRight.X, blankY + kExtensionBeyond});
    Diameter(sheet, bottomLeft.X, bottomRight.X, axis, blankY,
             "\u00D8" + SheetLength(s.BlankDiameter, unit));

    // The bell's mouth at the top face, the incoming wire across it above.
    const Point mouthLeft = die.At(-w[0].X, h);
    const Point mouthRight = die.At(w[0].X, h);
    const double mouthY = topRight.Y - kMouthDimension;
    sheet.Line(mouthLeft, {mouthLeft.X, mouthY - kExtensionBeyond});
    sheet.Line(mouthRight, {mouthRight.X, mouthY - kExtensionBeyond});
    const double wireRight = die.At(s.IncomingDiameter / 2, h).X;
    Diameter(sheet, mouthLeft.X, mouthRight.X, axis, mouthY,
             "\u00D8" + SheetLength(2 * w[0].X, unit),
             wireRight > mouthRight.X ? wireRight : -INFINITY, true);
    Diameter(sheet, die.At(-s.IncomingDiameter / 2, h).X, wireRight, axis,
             topRight.Y - kIncomingDimension, "\u00D8" + SheetLength(s.IncomingDiameter, unit));

    // The cone's entry where the bell meets it, and the bearing, the die's size, on the wall at
    // its middle, with the bearing's tolerance.
    const double entryLeft = die.At(-w[1].X, w[1].Y).X;
    BoreDiameter(sheet, entryLeft, die.At(w[1]).X, die.At(w[1]).Y, bore[0],
                 OutsideEnd(entryLeft, bottomLeft.X, bore[0]));
    const double bearingY = (die.At(w[2]).Y + die.At(w[3]).Y) / 2;
    const double bearingLeft = die.At(-w[2].X, w[2].Y).X;
    BoreDiameter(sheet, bearingLeft, die.At(w[2]).X, bearingY, bore[1],
                 OutsideEnd(bearingLeft, bottomLeft.X, bore[1]));

    // The three included angles: entrance bell, reduction cone, back relief.
    IncludedAngle(sheet, die, w[0], w[1], s.EntranceAngle);
    IncludedAngle(sheet, die, w[1], w[2], s.ReductionAngle);
    IncludedAngle(sheet, die, w[3], w[4], s.ExitAngle);

    // The bore's zones, top face to bottom face, on the right: entrance, reduction, bearing,
    // exit. A zone of no length (or less than the last decimal) is left out.
    const double chainX = topRight.X + kFirstDimension;
    std::vector<Zone> zones;
    for (std::size_t i = 0; i + 1 < w.size(); ++i) {
        const double length = w[i].Y - w[i + 1].Y;
        const std::string value = SheetLength(length, unit);
        if (length <= 0 || value.find_first_not_of("0.") == std::string::npos) {
            continue;
        }
        zones.push_back({die.At(0, w[i].Y).Y, die.At(0, w[i + 1].Y).Y, value});
    }
    for (std::size_t i = 0; i < w.size(); ++i) {
        const bool used = std::ranges::any_of(zones, [&](const Zone& z) {
            const double y = die.At(0, w[i].Y).Y;
            return z.Top == y || z.Bottom == y;
        });
        if (used) {
            const double from = i == 0 || i + 1 == w.size() ? topRight.X : die.At(w[i]).X;
            sheet.Line({from, die.At(w[i]).Y}, {chainX + kExtensionBeyond, die.At(w[i]).Y});
        }
    }
    // Last, so that a short zone's value finds a place clear of every other.
    Chain(sheet, chainX, zones);
}

struct Cell {
    double Width = 0;
    std::string Caption;
    std::string Value;
    bool Bold = false;
};

constexpr double kLinePitch = 5; // between baselines of 3.5 mm values
constexpr double kCaptionBand = 4;

// A value in 3.5 mm lettering on at most two lines, or else in 2.5 mm on at most three.
double ValueHeight(const Cell& cell) {
    return Wrap(cell.Value, kDimText, cell.Width - 3, 3).size() <= 2 ? kDimText : kSmallText;
}

std::vector<std::string> ValueLines(const Cell& cell) {
    return Wrap(cell.Value, ValueHeight(cell), cell.Width - 3,
                ValueHeight(cell) == kDimText ? 2 : 3);
}

double CellHeight(const Cell& cell) {
    const double pitch = kLinePitch * ValueHeight(cell) / kDimText;
    const std::size_t lines = ValueLines(cell).size();
    return std::max(10.0, kCaptionBand + static_cast<double>(lines) * pitch + 1);
}

// One row of the title block from top, full width; returns its bottom.
double DrawTitleRow(SheetBuilder& sheet, double left, double top, const std::vector<Cell>& cells) {
    double height = 0;
    for (const Cell& cell : cells) {
        height = std::max(height, CellHeight(cell));
    }
    double x = left;
    for (const Cell& cell : cells) {
        if (x > left) {
            sheet.Line({x, top}, {x, top + height});
        }
        sheet.Text({x + 1.5, top + 1.5 + kSmallText}, cell.Caption, kSmallText);
        const double lettering = ValueHeight(cell);
        double baseline = top + kCaptionBand + lettering + 1;
        for (const std::string& line : ValueLines(cell)) {
            sheet.Text({x + 1.5, baseline}, line, lettering, TextAlign::Left, 0, cell.Bold);
            baseline += kLinePitch * lettering / kDimText;
        }
        x += cell.Width;
    }
    sheet.Line({left, top + height}, {left + kTitleWidth, top + height});
    return top + height;
}

std::vector<std::vector<Cell>> TitleCells(const SheetContent& c, const std::string& scale,
                                          std::string_view documentType = "Detail drawing") {
    return {
        {{80, "Legal owner", c.Details.Owner},
         {50, "Drawn by", c.Details.DrawnBy},
         {50, "Approved by", c.Details.ApprovedBy}},
        {{80, "Material", c.Material}, {100, "General tolerances", c.Details.GeneralTolerances}},
        {{80, "Title", c.Identity.Title, true},
         {50, "Document type", std::string(documentType)},
         {50, "Date of issue", c.DateOfIssue}},
        {{80, "Drawing number", c.Identity.Number, true},
         {25, "Scale", scale},
         {25, "Size", std::string(PaperName(c.Sheet))},
         {25, "Revision", c.Identity.Revision},
         {25, "Sheet", "1/1"}},
    };
}

double TitleBlockHeight(const std::vector<std::vector<Cell>>& rows) {
    double height = 7; // the unit's band
    for (const std::vector<Cell>& row : rows) {
        double tallest = 0;
        for (const Cell& cell : row) {
            tallest = std::max(tallest, CellHeight(cell));
        }
        height += tallest;
    }
    return height;
}

void DrawTitleBlock(SheetBuilder& sheet, const SheetContent& c, double left, double top,
                    const std::vector<std::vector<Cell>>& rows, double bottom) {
    sheet.Rectangle(left, top, left + kTitleWidth, bottom, kFrameLine);
    const bool inches = c.Section.UnitDivisor == kInchUnitDivisor;
    sheet.Text({left + kTitleWidth / 2, top + 5.25},
               inches ? "DIMENSIONS IN INCHES" : "DIMENSIONS IN MILLIMETRES", kDimText,
               TextAlign::Centre, 0, true);
    double y = top + 7;
    sheet.Line({left, y}, {left + kTitleWidth, y});
    for (const std::vector<Cell>& row : rows) {
        y = DrawTitleRow(sheet, left, y, row);
    }
}

constexpr double kResultsCaption = 58;
constexpr double kResultsPitch = 3.5;

double ResultRowHeight(const TitleRow& row) {
    const std::size_t lines =
        std::max(Wrap(row.Caption, kSmallText, kResultsCaption - 3).size(),
                 Wrap(row.Value, kSmallText, kResultsWidth - kResultsCaption - 3).size());
    return static_cast<double>(lines) * kResultsPitch + 1.5;
}

// The inputs and results as a table standing on the title block, right-aligned with it.
void DrawResults(SheetBuilder& sheet, const std::vector<TitleRow>& results, double right,
                 double bottom) {
    double height = kResultsPitch + 3;
    for (const TitleRow& row : results) {
        height += ResultRowHeight(row);
    }
    const double left = right - kResultsWidth;
    double y = bottom - height;
    sheet.Rectangle(left, y, right, bottom, kFrameLine);
    sheet.Text({left + 1.5, y + 1.5 + kSmallText}, "INPUTS AND RESULTS", kSmallText,
               TextAlign::Left, 0, true);
    y += kResultsPitch + 3;
    sheet.Line({left + kResultsCaption, y}, {left + kResultsCaption, bottom});
    for (const TitleRow& row : results) {
        sheet.Line({left, y}, {right, y});
        double baseline = y + 0.75 + kSmallText;
        for (const std::string& line : Wrap(row.Caption, kSmallText, kResultsCaption - 3)) {
            sheet.Text({left + 1.5, baseline}, line, kSmallText);
            baseline += kResultsPitch;
        }
        baseline = y + 0.75 + kSmallText;
        for (const std::string& line :
             Wrap(row.Value, kSmallText, kResultsWidth - kResultsCaption - 3)) {
            sheet.Text({left + kResultsCaption + 1.5, baseline}, line, kSmallText);
            baseline += kResultsPitch;
        }
        y += ResultRowHeight(row);
    }
}

struct SheetFrame {
    double Width = 0;
    double Height = 0;
    double Left = kLeftMargin;
    double Top = kMargin;
    double Right = 0;
    double Bottom = 0;
    double TitleTop = 0;
    // Where the die and its dimensions stand.
    double AreaLeft = 0;
    double AreaTop = 0;
    double AreaRight = 0;
    double AreaBottom = 0;
};

SheetFrame FrameFor(const SheetContent& content, double titleHeight) {
    SheetFrame f;
    const PaperSize paper = LandscapeSize(content.Sheet);
    f.Width = paper.WidthMm;
    f.Height = paper.HeightMm;
    f.Right = f.Width - kMargin;
    f.Bottom = f.Height - kMargin;
    f.TitleTop = f.Bottom - titleHeight;
    f.AreaLeft = f.Left + kClearance;
    f.AreaTop = f.Top + kClearance;
    f.AreaRight = f.Right - kResultsWidth - kClearance;
    f.AreaBottom = f.TitleTop - kClearance;
    return f;
}

// Paper millimetres per true millimetre that the die and its dimensions fit the area at.
double LargestRatio(const SheetSection& s, const SheetFrame& f) {
    const double width = s.BlankDiameter * s.UnitDivisor;
    const double height = s.BlankHeight * s.UnitDivisor;
    if (!(width > 0) || !(height > 0)) {
        return 1;
    }
    return std::min((f.AreaRight - f.AreaLeft - kRoomLeft - kRoomRight) / width,
                    (f.AreaBottom - f.AreaTop - kRoomTop - kRoomBottom) / height);
}

std::array<std::string, 2> BearingDeviations(const SheetContent& content) {
    return content.Tolerance ? DeviationTexts(*content.Tolerance, content.Section.UnitDivisor)
                             : std::array<std::string, 2>{};
}

// How much further out than usual the bore's values push the blank's height dimension at this
// many paper millimetres per true unit: nothing on a usual sheet.
double ExtraRoomLeft(const SheetContent& content, double mmPerUnit) {
    const SheetSection& s = content.Section;
    const DieOnPaper die{0, 0, mmPerUnit};
    const double usual = die.At(-s.BlankDiameter / 2, 0).X - kFirstDimension;
    return std::max(
        0.0, usual - HeightDimensionX(s, die, BoreDimensionsOf(s, BearingDeviations(content))));
}

} // namespace

SheetSection SheetSectionOf(const SectionFrame& frame, const DrawingScene& scene,
                            const ProfileState& calculated, double unitDivisor) {
    SheetSection s;
    s.UnitDivisor = unitDivisor;
    s.BlankDiameter =
        ToSection(frame, scene.LineDieRight).Start.X - ToSection(frame, scene.LineDieLeft).Start.X;
    s.BlankHeight = ToSection(frame, scene.LineDieTopRight).Start.Y;
    const BoreWall wall = BoreWallOf(frame, scene, BoreSide::Right);
    for (std::size_t i = 0; i < wall.size(); ++i) {
        s.Wall[i] = {wall[i].X, wall[i].Y};
    }
    const SectionLine incoming = ToSection(frame, scene.LineEnterWireRight);
    s.IncomingDiameter = 2 * incoming.Start.X;
    s.WireLowerEnd = incoming.Start.Y;
    s.OutletDiameter = 2 * ToSection(frame, scene.LineExitWireRight).Start.X;
    s.EntranceAngle = calculated.EntranceAngle;
    s.ReductionAngle = calculated.ReductionAngle;
    s.ExitAngle = calculated.ExitAngle;
    return s;
}

Page DieDimensions(const SheetSection& section, double mmPerUnit) {
    Page page;
    SheetBuilder sheet(page);
    DimensionDie(sheet, section, DieOnPaper{0, 0, mmPerUnit}, {});
    return page;
}

std::string SheetScale::Text() const {
    return std::to_string(PaperPart) + ":" + std::to_string(TruePart);
}

SheetScale ChooseSheetScale(double largestRatio) {
    // The drafting series from 1000:1 down to 1:10.
    static constexpr std::array<SheetScale, 13> kSeries{{
        {1000, 1},
        {500, 1},
        {200, 1},
        {100, 1},
        {50, 1},
        {20, 1},
        {10, 1},
        {5, 1},
        {2, 1},
        {1, 1},
        {1, 2},
        {1, 5},
        {1, 10},
    }};
    for (const SheetScale& scale : kSeries) {
        if (scale.Ratio() <= largestRatio * (1 + 1e-12)) {
            return scale;
        }
    }
    return kSeries.back();
}

SheetScale SheetScaleOf(const SheetContent& content) {
    const SheetFrame frame = FrameFor(content, TitleBlockHeight(TitleCells(content, "1:1")));
    SheetScale scale = ChooseSheetScale(LargestRatio(content.Section, frame));
    // Bore values standing outside the outline take room beside the die: a smaller scale where
    // the sheet has not that room.
    const SheetSection& s = content.Section;
    const double room = frame.AreaRight - frame.AreaLeft - kRoomLeft - kRoomRight;
    while (scale.Ratio() > ChooseSheetScale(0).Ratio()) {
        const double mmPerUnit = s.UnitDivisor * scale.Ratio();
        const double extra = ExtraRoomLeft(content, mmPerUnit);
        if (extra <= 0 || s.BlankDiameter * mmPerUnit + extra <= room) {
            break;
        }
        scale = ChooseSheetScale(scale.Ratio() * 0.99);
    }
    return scale;
}

Expected<void> CheckSheetFits(const SheetContent& content) {
    const SheetFrame frame = FrameFor(content, TitleBlockHeight(TitleCells(content, "1:1")));
    const double ratio = LargestRatio(content.Section, frame);
    if (ratio >= ChooseSheetScale(0).Ratio() * (1 - 1e-12)) {
        return Done{};
    }
    const SheetSection& s = content.Section;
    return Refusal{"the blank " + BlankSize(s.BlankDiameter, s.BlankHeight, s.UnitDivisor) +
                   " does not fit the " + std::string(PaperName(content.Sheet)) +
                   " sheet even at 1:10, the smallest scale of the drawing"};
}

std::string BlankSize(double diameter, double height, double unitDivisor) {
    return "\u00D8" + SheetLength(diameter, unitDivisor) + " \u00D7 " +
           SheetLength(height, unitDivisor) + " " + std::string(UnitSymbol(unitDivisor));
}

std::optional<BearingTolerance> ParseBearingTolerance(std::string_view text, double unitDivisor) {
    std::string typed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i).starts_with("\u2212")) {
            typed += '-';
            i += std::string_view("\u2212").size() - 1;
        } else if (text.substr(i).starts_with("\u00B1")) {
            typed += "+-";
            i += std::string_view("\u00B1").size() - 1;
        } else {
            typed += text[i];
        }
    }
    std::string_view rest(typed);
    BearingTolerance tolerance;
    tolerance.UnitDivisor = unitDivisor;
    for (const double unit : {kInchUnitDivisor, kMillimetreUnitDivisor}) {
        if (rest.ends_with(UnitSymbol(unit))) {
            rest.remove_suffix(UnitSymbol(unit).size());
            tolerance.UnitDivisor = unit;
            break;
        }
    }
    std::optional<double> upper;
    std::optional<double> lower;
    const std::size_t slash = rest.find('/');
    if (const std::size_t first = rest.find_first_not_of(' ');
        first != std::string_view::npos && rest.substr(first).starts_with("+-")) {
        upper = ParseNumber(rest.substr(first + 2));
        lower = upper ? std::optional<double>(-*upper) : std::nullopt;
    } else if (slash != std::string_view::npos) {
        upper = ParseNumber(rest.substr(0, slash));
        lower = ParseNumber(rest.substr(slash + 1));
    }
    if (!upper || !lower || !(*upper >= *lower) || (*upper == 0 && *lower == 0) ||
        !(std::abs(*upper) < 1000) || !(std::abs(*lower) < 1000)) {
        return std::nullopt;
    }
    tolerance.Upper = *upper + 0.0; // never a deviation of minus nothing
    tolerance.Lower = *lower + 0.0;
    return tolerance;
}

std::array<std::string, 2> DeviationTexts(const BearingTolerance& tolerance, double unitDivisor) {
    const double k = tolerance.UnitDivisor / unitDivisor;
    const double upper = tolerance.Upper * k;
    const double lower = tolerance.Lower * k;
    int decimals = unitDivisor == kInchUnitDivisor ? 4 : 3;
    const auto exact = [&](double value) {
        const std::optional<double> shown = ParseNumber(FixedDecimals(value, decimals));
        return shown && std::abs(*shown - value) <= 1e-9 * std::max(1.0, std::abs(value));
    };
    while (decimals < 6 && !(exact(upper) && exact(lower))) {
        ++decimals;
    }
    const auto signed_ = [&](double value) {
        const std::string digits = FixedDecimals(std::abs(value), decimals);
        if (digits.find_first_not_of("0.") == std::string::npos) {
            return std::string("0");
        }
        return (value > 0 ? "+" : "\u2212") + digits;
    };
    if (upper == -lower) {
        return {"\u00B1" + FixedDecimals(upper, decimals), ""};
    }
    return {signed_(upper), signed_(lower)};
}

SheetBorder LayOutSheetBorder(Page& page, const SheetContent& content,
                              std::string_view documentType, const std::string& scale) {
    const auto cells = TitleCells(content, scale, documentType);
    const SheetFrame f = FrameFor(content, TitleBlockHeight(cells));
    page.WidthMm = f.Width;
    page.HeightMm = f.Height;
    SheetBuilder sheet(page);
    sheet.Rectangle(f.Left, f.Top, f.Right, f.Bottom, kFrameLine);
    DrawTitleBlock(sheet, content, f.Right - kTitleWidth, f.TitleTop, cells, f.Bottom);
    return {f.Left, f.Top, f.Right, f.Bottom, f.TitleTop, f.Right - kTitleWidth};
}

Page LayOutSheet(const SheetContent& content) {
    const SheetScale scale = SheetScaleOf(content);
    const auto cells = TitleCells(content, scale.Text());
    const SheetFrame f = FrameFor(content, TitleBlockHeight(cells));
    Page page;
    LayOutSheetBorder(page, content, "Detail drawing", scale.Text());
    SheetBuilder sheet(page);
    DrawResults(sheet, content.Results, f.Right, f.TitleTop);

    // The die in the middle of its area, the room its dimensions need around it.
    const SheetSection& s = content.Section;
    DieOnPaper die;
    die.MmPerUnit = s.UnitDivisor * scale.Ratio();
    die.PaperWidth = f.Width;
    die.PaperHeight = f.Height;
    const double extra = ExtraRoomLeft(content, die.MmPerUnit);
    const double width = s.BlankDiameter * die.MmPerUnit + kRoomLeft + extra + kRoomRight;
    const double height = s.BlankHeight * die.MmPerUnit + kRoomTop + kRoomBottom;
    const double left = f.AreaLeft + std::max(0.0, (f.AreaRight - f.AreaLeft - width) / 2);
    const double top = f.AreaTop + std::max(0.0, (f.AreaBottom - f.AreaTop - height) / 2);
    die.AxisX = left + kRoomLeft + extra + s.BlankDiameter / 2 * die.MmPerUnit;
    die.BaseY = top + kRoomTop + s.BlankHeight * die.MmPerUnit;
    DrawDie(sheet, s, die);
    DimensionDie(sheet, s, die, BearingDeviations(content));
    sheet.ClearHatchingUnderTexts();
    return page;
}

} // namespace dieprofile

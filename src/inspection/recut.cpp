#include "inspection/recut.h"

#include "core/number_text.h"
#include "profile/calculation_stages.h"
#include "profile/die_section.h"
#include "profile/profile_figures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dieprofile {

namespace {

constexpr std::size_t kOutletField = 0;   // in a design's field texts
constexpr std::size_t kIncomingField = 1; // in a design's field texts
constexpr std::size_t kDiamondField = 8;  // in a design's field texts
constexpr double kDefaultWallShare = 0.1; // of the blank's radius
// Enough halvings to close any bracket of doubles down to neighbours.
constexpr int kMaxHalvings = 200;

bool Inches(double unitDivisor) {
    return unitDivisor > 1;
}
std::string UnitText(double unitDivisor) {
    return Inches(unitDivisor) ? "in" : "mm";
}

// A length as the die maker reads it, to four places as the inspection's verdict gives it.
std::string LengthText(double value, double unitDivisor) {
    return FixedDecimals(value, 4) + " " + UnitText(unitDivisor);
}
std::string DiameterText(double value, double unitDivisor) {
    return "\xC3\x98" + LengthText(value, unitDivisor);
}
// Up to the places shown, so that "at least" never shows a size that is too small.
double ShownUp(double value) {
    return std::ceil(value * 1e4 - 1e-6) / 1e4;
}
// A size made of a step or a ratio, as it would be typed: to twelve decimal places.
double Typed(double value) {
    return ParseNumber(FixedDecimals(value, 12)).value_or(value);
}

std::string_view ZoneWords(std::size_t zone) {
    constexpr std::array<std::string_view, kZoneCount> words{"bell", "reduction cone", "bearing",
                                                             "back relief"};
    return words.at(zone);
}

// The smallest double in (low, high] where holds is true, holds(high) true and holds(low) false.
template <typename Holds> double Bisect(double low, double high, const Holds& holds) {
    for (int i = 0; i < kMaxHalvings && std::nextafter(low, high) < high; ++i) {
        const double middle = low + (high - low) / 2;
        (holds(middle) ? high : low) = middle;
    }
    return high;
}

struct Candidate {
    CalculatedDrawing Drawing;
    BoreWall Wall{};
};

class Planner {
public:
    Planner(const Design& design, const Inspection& inspection, const RecutCalculator& calculate,
            double ratio, std::size_t bindingPoints)
        : design_(design), inspection_(inspection), calculate_(calculate), ratio_(ratio),
          bindingPoints_(bindingPoints) {}

    Design DesignAt(double outlet, double incoming) const {
        Design recut = design_;
        recut.FieldTexts[kOutletField] = ShortestText(outlet);
        recut.FieldTexts[kIncomingField] = ShortestText(incoming);
        recut.Identity.Number.clear();
        return recut;
    }
    Expected<Candidate> At(double outlet, double incoming) const {
        Expected<CalculatedDrawing> drawn = calculate_(DesignAt(outlet, incoming));
        if (!drawn) {
            return drawn.Error();
        }
        Candidate candidate{*drawn, BoreWallOf(drawn->Frame, drawn->Scene, BoreSide::Right)};
        return candidate;
    }
    Expected<Candidate> At(double outlet) const { return At(outlet, outlet * ratio_); }
    // The least of (recut wall − worn wall) on the radius over the points.
    static double LeastClearance(const BoreWall& wall, const std::vector<InspectedPoint>& points) {
        double least = std::numeric_limits<double>::infinity();
        for (const InspectedPoint& p : points) {
            const std::optional<double> radius = WallRadiusAt(wall, p.At.Y);
            if (radius) {
                least = std::min(least, *radius - std::abs(p.At.X));
            }
        }
        return least;
    }
    // Whether a recut of this outlet clears these points (by default every measured one) by the
    // allowance; a die Calculate refuses clears nothing.
    bool Clears(double outlet, double allowance,
                const std::vector<InspectedPoint>* points = nullptr) const {
        const Expected<Candidate> made = At(outlet);
        return made &&
               LeastClearance(made->Wall, points != nullptr ? *points : inspection_.Points) >=
                   allowance;
    }
    // The smallest outlet in (low, high] that clears every point, high clearing them and low
    // not. The halvings run on the few points that bind, the points nearest the wall; the answer
    // is checked against every point, and any it leaves uncut join the few for another run. A
    // part of the points never asks for more than all of them, so the answer is the one the
    // halvings on every point would give.
    double LeastClearing(double low, double high, double allowance) const {
        std::vector<InspectedPoint> binding;
        const auto addNearest = [&](double outlet, std::size_t count) {
            const Expected<Candidate> made = At(outlet);
            if (!made) {
                return;
            }
            std::vector<std::pair<double, std::size_t>> clearances;
            clearances.reserve(inspection_.Points.size());
            for (std::size_t i = 0; i < inspection_.Points.size(); ++i) {
                const InspectedPoint& p = inspection_.Points[i];
                if (const std::optional<double> radius = WallRadiusAt(made->Wall, p.At.Y)) {
                    clearances.emplace_back(*radius - std::abs(p.At.X), i);
                }
            }
            const std::size_t few = std::min(clearances.size(), count);
            std::ranges::nth_element(clearances, clearances.begin() + static_cast<long>(few));
            for (std::size_t i = 0; i < few; ++i) {
                binding.push_back(inspection_.Points[clearances[i].second]);
            }
        };
        addNearest(high, bindingPoints_);
        addNearest(low, bindingPoints_);
        for (;;) {
            const double found =
                Bisect(low, high, [&](double size) { return Clears(size, allowance, &binding); });
            if (Clears(found, allowance)) {
                return found;
            }
            low = found; // every point asks for more than this
            addNearest(found, std::max<std::size_t>(bindingPoints_, 1));
        }
    }

private:
    const Design& design_;
    const Inspection& inspection_;
    const RecutCalculator& calculate_;
    double ratio_;
    std::size_t bindingPoints_;
};

} // namespace

double DefaultRecutAllowance(double unitDivisor) {
    return Inches(unitDivisor) ? 0.0001 : 0.002;
}

double DefaultRecutStep(double unitDivisor) {
    return Inches(unitDivisor) ? 0.0001 : 0.001;
}

std::optional<double> WallRadiusAt(const BoreWall& wall, double height) {
    std::optional<double> radius;
    for (std::size_t i = 0; i + 1 < wall.size(); ++i) {
        const Point& a = wall.at(i);
        const Point& b = wall.at(i + 1);
        const double low = std::min(a.Y, b.Y);
        const double high = std::max(a.Y, b.Y);
        if (height < low || height > high) {
            continue;
        }
        const double x =
            high > low ? a.X + (b.X - a.X) * (height - a.Y) / (b.Y - a.Y) : std::max(a.X, b.X);
        radius = std::max(radius.value_or(x), x);
    }
    return radius;
}

Expected<std::vector<double>> ParseRecutSizes(std::string_view text) {
    std::vector<double> sizes;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string_view item = text.substr(start, comma - start);
        while (!item.empty() && item.front() == ' ') {
            item.remove_prefix(1);
        }
        while (!item.empty() && item.back() == ' ') {
            item.remove_suffix(1);
        }
        const std::optional<double> size = ParseNumber(item);
        if (!size || !std::isfinite(*size)) {
            return Refusal{"the size \"" + std::string(item) + "\" is not a number"};
        }
        sizes.push_back(*size);
        start = comma + 1;
    }
    return sizes;
}

Expected<RecutPlan> PlanRecut(const Design& design, const Inspection& inspection,
                              const RecutOptions& options, const RecutCalculator& calculate,
                              std::size_t bindingPoints) {
    const double unit = design.Unit == "in" ? 25.4 : 1;
    const std::optional<double> outlet = ParseNumber(design.FieldTexts[kOutletField]);
    const std::optional<double> incoming = ParseNumber(design.FieldTexts[kIncomingField]);
    const std::optional<double> diamond = ParseNumber(design.FieldTexts[kDiamondField]);
    if (!outlet || !incoming || !diamond || *outlet <= 0 || *diamond <= 0) {
        return Refusal{"the design's outlet, incoming or diamond diameter is not a size"};
    }
    const double allowance = options.Allowance.value_or(DefaultRecutAllowance(unit));
    if (!(allowance >= 0) || allowance > *outlet / 2) {
        return Refusal{"the allowance must be from 0 to the bearing's radius (" +
                       LengthText(*outlet / 2, unit) + ")"};
    }
    const RecutSizes& sizes = options.Sizes;
    const double step = sizes.Step.value_or(DefaultRecutStep(unit));
    if (sizes.Kind == RecutSizeKind::Step && !(step > 0 && step < *diamond)) {
        return Refusal{"the step must be above 0 and below the blank's diameter (" +
                       LengthText(*diamond, unit) + ")"};
    }
    if (sizes.Kind == RecutSizeKind::List) {
        if (sizes.List.empty()) {
            return Refusal{"the size list is empty"};
        }
        for (std::size_t i = 0; i < sizes.List.size(); ++i) {
            if (i > 0 && !(sizes.List[i] > sizes.List[i - 1])) {
                return Refusal{"the size list must be strictly rising"};
            }
            if (!(sizes.List[i] > *outlet)) {
                return Refusal{"every size in the list must be above the design's outlet (" +
                               DiameterText(*outlet, unit) + ")"};
            }
        }
    }
    const double wallNeeded = options.Wall.value_or(kDefaultWallShare * *diamond / 2);
    if (!(wallNeeded >= 0) || wallNeeded >= *diamond / 2) {
        return Refusal{"the wall must be from 0 to the blank's radius (" +
                       LengthText(*diamond / 2, unit) + ")"};
    }

    const Planner planner(design, inspection, calculate, *incoming / *outlet, bindingPoints);
    // Grows the bracket from the design's outlet until the wear is cleared, within the blank.
    double low = *outlet;
    double least = *outlet;
    if (!planner.Clears(*outlet, allowance)) {
        double gap = *outlet / 64;
        while (!planner.Clears(low + gap, allowance)) {
            low += gap;
            gap *= 2;
            if (low + gap >= *diamond) {
                return Refusal{"the worn die cannot be recut within its blank: no bore inside " +
                               DiameterText(*diamond, unit) + " clears the wear"};
            }
        }
        least = planner.LeastClearing(low, low + gap, allowance);
    }

    // The size of the chosen kind: above the design's, at least the least that clears.
    double chosen = 0;
    double chosenIncoming = 0;
    const auto tooSmall = [&](std::string_view what) {
        return Refusal{"no size " + std::string(what) +
                       " is large enough: the wear needs at least " +
                       DiameterText(ShownUp(least), unit)};
    };
    switch (sizes.Kind) {
    case RecutSizeKind::Step: {
        double k = std::max(std::ceil(least / step - 1e-9), std::floor(*outlet / step + 1e-9) + 1);
        chosen = Typed(k * step);
        while (!planner.Clears(chosen, allowance) && chosen < *diamond) {
            k += 1;
            chosen = Typed(k * step);
        }
        chosenIncoming = Typed(chosen * *incoming / *outlet);
        break;
    }
    case RecutSizeKind::List: {
        const auto fits = std::ranges::find_if(sizes.List, [&](double size) {
            return size >= least && planner.Clears(size, allowance);
        });
        if (fits == sizes.List.end()) {
            return tooSmall("in the list");
        }
        chosen = *fits;
        chosenIncoming = Typed(chosen * *incoming / *outlet);
        break;
    }
    case RecutSizeKind::DieSet: {
        const RecutPass* best = nullptr;
        for (const RecutPass& pass : sizes.Passes) {
            if (pass.Outlet > *outlet && pass.Outlet >= least &&
                (best == nullptr || pass.Outlet < best->Outlet) &&
                planner.Clears(pass.Outlet, allowance)) {
                best = &pass;
            }
        }
        if (best == nullptr) {
            return tooSmall("in the die set");
        }
        chosen = best->Outlet;
        chosenIncoming = best->Incoming;
        break;
    }
    }

    // Inside the blank: the checks of every export, and the wall left round the bell's mouth.
    const auto inBlank = [&](double size, double in) -> Expected<void> {
        const Expected<Candidate> die = planner.At(size, in);
        if (!die) {
            return die.Error();
        }
        if (Expected<void> made = CheckProfile(die->Drawing); !made) {
            return made;
        }
        const double left = *diamond / 2 - die->Wall[0].X;
        if (!(left >= wallNeeded)) {
            return Refusal{"the bell's mouth is " + LengthText(left, unit) +
                           " from the blank's edge, under the " + LengthText(wallNeeded, unit) +
                           " it needs"};
        }
        return Done{};
    };
    if (const Expected<void> fits = inBlank(chosen, chosenIncoming); !fits) {
        return Refusal{"the worn die cannot be recut within its blank: at " +
                       DiameterText(chosen, unit) + " " + fits.Error().Message};
    }
    Candidate made = *planner.At(chosen, chosenIncoming);

    RecutPlan plan;
    plan.Recut = planner.DesignAt(chosen, chosenIncoming);
    plan.UnitDivisor = unit;
    plan.DesignOutlet = *outlet;
    plan.RecutOutlet = chosen;
    plan.RecutIncoming = chosenIncoming;
    plan.LeastOutletClearingWear = least;
    plan.Allowance = allowance;
    for (const InspectedPoint& p : inspection.Points) {
        if (const std::optional<double> radius = WallRadiusAt(made.Wall, p.At.Y)) {
            double& removed = plan.RemovedMax.at(std::min(p.Zone, kZoneCount - 1));
            removed = std::max(removed, *radius - std::abs(p.At.X));
        }
    }
    plan.MouthWallLeft = *diamond / 2 - made.Wall[0].X;
    plan.Wall = made.Wall;
    // The blank's life: the largest outlet of this profile that still passes.
    const double ratio = chosenIncoming / chosen;
    const auto passes = [&](double size) { return inBlank(size, size * ratio).HasValue(); };
    double high = chosen + (chosen - *outlet);
    double last = chosen;
    while (high < *diamond && passes(high)) {
        last = high;
        high += high - *outlet;
    }
    plan.LargestOutletInBlank =
        -Bisect(-std::min(high, *diamond), -last, [&](double negated) { return passes(-negated); });
    plan.RecutsLeft = static_cast<long long>(
        std::floor((plan.LargestOutletInBlank - chosen) / (chosen - *outlet) + 1e-9));
    plan.Drawing = std::move(made.Drawing);
    plan.Delta = DeltaValueOf(plan.Drawing.Profile);
    const MeetingPoint meeting = MeetingPointOf(plan.Drawing.Frame, plan.Drawing.Scene);
    if (meeting.Contact == WireContact::ReductionCone || meeting.Contact == WireContact::Bell) {
        plan.MeetingPointAboveBearing = meeting.AboveBearing;
    }
    return plan;
}

std::vector<RecutFigure> RecutFigures(const RecutPlan& plan) {
    const std::string unit = UnitText(plan.UnitDivisor);
    std::vector<RecutFigure> rows{
        {"design_outlet", plan.DesignOutlet, unit},
        {"recut_outlet", plan.RecutOutlet, unit},
        {"recut_incoming", plan.RecutIncoming, unit},
        {"least_outlet_clearing_wear", plan.LeastOutletClearingWear, unit},
        {"allowance", plan.Allowance, unit},
    };
    for (std::size_t zone = 0; zone < kZoneCount; ++zone) {
        rows.push_back(
            {"removed_max_" + std::string(ZoneName(zone)), plan.RemovedMax.at(zone), unit});
    }
    rows.push_back({"mouth_wall_left", plan.MouthWallLeft, unit});
    rows.push_back({"largest_outlet_in_blank", plan.LargestOutletInBlank, unit});
    rows.push_back({"recuts_left", static_cast<double>(plan.RecutsLeft), "count"});
    rows.push_back({"delta", plan.Delta, ""});
    rows.push_back({"meeting_point_above_bearing", plan.MeetingPointAboveBearing, unit});
    return rows;
}

std::string RecutCsv(const RecutPlan& plan) {
    std::string csv = "quantity,value,unit\n";
    for (const RecutFigure& row : RecutFigures(plan)) {
        csv += row.Quantity + "," + (row.Value ? ShortestText(*row.Value) : std::string()) + "," +
               row.Unit + "\n";
    }
    return csv;
}

std::string RecutLine(const RecutPlan& plan) {
    const auto most = std::ranges::max_element(plan.RemovedMax);
    const auto zone = static_cast<std::size_t>(most - plan.RemovedMax.begin());
    const double u = plan.UnitDivisor;
    return "recut to " + DiameterText(plan.RecutOutlet, u) + " from " +
           DiameterText(plan.DesignOutlet, u) + ": up to " + LengthText(*most, u) + " removed (" +
           std::string(ZoneWords(zone)) + "); the blank takes " + std::to_string(plan.RecutsLeft) +
           " more recuts of this step, up to " + DiameterText(plan.LargestOutletInBlank, u);
}

} // namespace dieprofile

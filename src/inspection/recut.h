// The recut of a worn die: the next size it can be opened to, found from its inspected bore and
// its design, checked inside its blank, with the blank's remaining life. The recut keeps the
// design's blank, angles and proportional lengths and changes only the outlet and the incoming
// diameter, so the one Calculate of a die draws every candidate; it is handed in, because the
// recut sits below the application that owns it.
#pragma once

#include "core/expected.h"
#include "inspection/inspection.h"
#include "output/design_file.h"
#include "profile/calculated_drawing.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dieprofile {

// The sizes a recut may go to.
enum class RecutSizeKind { Step, List, DieSet };
struct RecutPass {
    double Outlet = 0;
    double Incoming = 0;
};
struct RecutSizes {
    RecutSizeKind Kind = RecutSizeKind::Step;
    std::optional<double> Step;    // none: 0.0001 in or 0.001 mm
    std::vector<double> List;      // strictly rising, every one above the design's outlet
    std::vector<RecutPass> Passes; // a die set's, in its order
};

struct RecutOptions {
    std::optional<double> Allowance; // on the radius; none: 0.0001 in or 0.002 mm
    RecutSizes Sizes;
    std::optional<double> Wall; // the bell's mouth to the blank's edge; none: 10 % of its radius
};

// The die of a design with another outlet and incoming diameter, calculated as its file opens.
using RecutCalculator = std::function<Expected<CalculatedDrawing>(const Design&)>;

struct RecutPlan {
    Design Recut; // the design with the recut's diameters and no drawing number
    CalculatedDrawing Drawing;
    double UnitDivisor = 1;
    double DesignOutlet = 0;
    double RecutOutlet = 0;
    double RecutIncoming = 0;
    double LeastOutletClearingWear = 0; // before rounding
    double Allowance = 0;
    std::array<double, kZoneCount> RemovedMax{}; // on the radius, from the worn wall
    double MouthWallLeft = 0;
    BoreWall Wall{}; // the recut's, in the inspection's aligned frame
    double LargestOutletInBlank = 0;
    long long RecutsLeft = 0;
    double Delta = 0;
    std::optional<double> MeetingPointAboveBearing;
};

// The stock left for polishing, and the step, when none is given: in the design's unit.
double DefaultRecutAllowance(double unitDivisor);
double DefaultRecutStep(double unitDivisor);

// The radius of a wall at a height (y up from the bottom face); none beyond its ends.
std::optional<double> WallRadiusAt(const BoreWall& wall, double height);

// Plans the recut of the inspected die of this design, or the reason it cannot be, in the die
// maker's words ("the worn die cannot be recut within its blank: …", "no size in the list is
// large enough: …") or naming the input that is wrong.
// The outlet is halved down on the bindingPoints points nearest the wall first, then checked
// against every point, those it leaves uncut joining them (the answer is the same for any count,
// none included; fewer make more runs).
inline constexpr std::size_t kRecutBindingPoints = 512;
Expected<RecutPlan> PlanRecut(const Design& design, const Inspection& inspection,
                              const RecutOptions& options, const RecutCalculator& calculate,
                              std::size_t bindingPoints = kRecutBindingPoints);

// The figures in their order: the CSV's rows, and the step's table.
struct RecutFigure {
    std::string Quantity;
    std::optional<double> Value;
    std::string Unit;
};
std::vector<RecutFigure> RecutFigures(const RecutPlan& plan);
// The figures: header quantity,value,unit, one row a figure.
std::string RecutCsv(const RecutPlan& plan);
// "recut to Ø0.0130 in from Ø0.0120 in: up to 0.0006 in removed (reduction cone); the blank
// takes 6 more recuts of this step, up to Ø0.0165 in".
std::string RecutLine(const RecutPlan& plan);

// A size list as typed, comma-separated, in the design's unit; the reason when it is not one.
Expected<std::vector<double>> ParseRecutSizes(std::string_view text);

} // namespace dieprofile

// A measured bore held against its design: the points aligned to the design's wall (the axis from
// both walls or taken as the file has it, then the axial position and which end is the entrance,
// by a robust fit a wear ring cannot pull), each zone's line fitted to its own points, the zone
// figures from those lines, every point's deviation from the design's wall, the wear ring and the
// verdict within a tolerance band on the radius.
#pragma once

#include "core/geometry.h"
#include "inspection/measured_file.h"
#include "profile/die_section.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace dieprofile {

// The design as the inspection needs it: the right-hand wall in the section's frame (x from the
// axis, y up from the bottom face, in the design's unit) and where the entering wire first meets
// the bore.
struct InspectionDesign {
    BoreWall Wall{};
    double UnitDivisor = 1; // 25.4 inches, 1 millimetres
    std::optional<double> MeetingPointAboveBearing;
};

enum class InspectedWalls { Either, One, Both }; // Either: told from the points
struct InspectionOptions {
    std::optional<double> Tolerance; // on the radius, in the design's unit
    InspectedWalls Walls = InspectedWalls::Either;
    bool FitAxis = false; // one wall: the axis fitted too, not x = 0
};

// The zones down the bore, as the design's wall has them.
enum class BoreZone { Entrance, Reduction, Bearing, Exit };
inline constexpr std::size_t kZoneCount = 4;
// "entrance", "reduction", "bearing", "exit".
std::string_view ZoneName(std::size_t zone);

// Where the measured die lies in the file's frame, and how the fit went.
struct Alignment {
    bool BothWalls = false;
    bool AxisFitted = false; // one wall: the axis fitted, not taken at x = 0
    double AxisX = 0;        // where the axis crosses the file's y = 0
    double Tilt = 0;         // of the axis from the file's y, radians
    double Shift = 0;        // the design's y of the file's v = 0
    int Direction = 1;       // +1: the entrance toward the file's +y
    int Side = 1;            // one wall: +1 right of the axis, -1 left
    double MeanDistance = 0; // of the points used, from the design's wall
    std::size_t PointsUsed = 0;
};

// At most `most` of the points, spread through the file whatever its order: the alignment and the
// first zone fits work on kFitPoints of them, then refine on all.
inline constexpr std::size_t kFitPoints = 20000;
std::vector<Point> ThinnedPoints(const std::vector<Point>& points, std::size_t most);

// The points aligned: x from the axis (left of it negative), y up from the bottom face.
Point AlignedPoint(const Alignment& alignment, Point p);
// Every point aligned as AlignedPoint aligns it, the tilt's sine and cosine taken once.
std::vector<Point> AlignedPoints(const Alignment& alignment, const std::vector<Point>& points);

// The best fit of the points (in the design's unit) to the design's wall, however poor.
Alignment AlignToDesign(const BoreWall& wall, const std::vector<Point>& points,
                        const InspectionOptions& options);

// The signed normal distance of a point (x from the axis, y) from the design's wall, outward
// (into the diamond) positive; the right-hand wall's mirror for a point left of the axis.
double WallDeviation(const BoreWall& wall, Point aligned);
// Every aligned point's WallDeviation, the wall's segments worked out once.
std::vector<double> WallDeviations(const BoreWall& wall, const std::vector<Point>& aligned);
// The point moved along the wall's normal so that its deviation is factor times its own, as a
// report draws deviations too small to see at the drawing's scale.
Point ExaggeratedPoint(const BoreWall& wall, Point aligned, double factor);

// A fitted line r = Offset + Slope·y of one wall of one zone.
struct ZoneLine {
    double Offset = 0;
    double Slope = 0;
};

struct ZoneFigures {
    std::size_t Points = 0;
    std::optional<double> AngleDeg; // included angle; none for the bearing
    std::optional<double> Length;
    std::optional<double> MaxDeviation; // the largest in size, with its sign
    double MaxDeviationHeight = 0;
    std::optional<bool> Within; // with a tolerance
};

struct WearRing {
    double Depth = 0;
    double HeightAboveBearing = 0;
    double Width = 0; // axially, at half its depth
};

struct InspectedPoint {
    Point At; // aligned
    std::size_t Zone = 0;
    double Deviation = 0;
};

struct Inspection {
    Alignment Fit;
    std::vector<InspectedPoint> Points;
    std::array<ZoneFigures, kZoneCount> Zones{};
    std::optional<double> BearingDiameter;
    std::optional<double> MouthDiameter;
    std::optional<double> ExitDiameter;
    std::optional<WearRing> Ring;
    std::optional<double> Tolerance;
    std::optional<bool> Within;     // with a tolerance: every zone within
    std::size_t WorstPoint = 0;     // the point farthest beyond the band
    std::vector<std::string> Notes; // what the figures rest on, and what is missing
};

// Aligns, assigns and measures; the reason when the points cannot be matched to the design.
Expected<Inspection> InspectDie(const InspectionDesign& design, const MeasuredPoints& measured,
                                const InspectionOptions& options);

// The design's own figures, zone by zone, as the report sets them beside the measured ones.
struct DesignFigures {
    std::array<std::optional<double>, kZoneCount> AngleDeg{};
    std::array<double, kZoneCount> Length{};
    double BearingDiameter = 0;
    double MouthDiameter = 0;
    double ExitDiameter = 0;
};
DesignFigures DesignFiguresOf(const BoreWall& wall);

// One figure of the report: the design's, the measured and their difference (each none where
// there is none), its unit, and within the tolerance or not (none without one).
struct ReportRow {
    std::string Quantity; // "reduction_angle_deg"
    std::optional<double> Design;
    std::optional<double> Measured;
    std::optional<double> Deviation;
    std::string Unit; // "in", "mm", "deg", "count"
    std::optional<bool> Within;
};
std::vector<ReportRow> InspectionRows(const InspectionDesign& design, const Inspection& inspection);

// The report's CSV (header, then one row a figure) and the deviations' (x,y,zone,deviation).
std::string InspectionCsv(const InspectionDesign& design, const Inspection& inspection);
std::string DeviationsCsv(const Inspection& inspection);
// "within tolerance", "outside tolerance: reduction zone by 0.0004 in at 0.0931 in" or "no
// tolerance given".
std::string VerdictLine(const InspectionDesign& design, const Inspection& inspection);

} // namespace dieprofile

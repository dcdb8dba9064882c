// The inspection's figures as the report's CSV writes them, row by row in a fixed order, beside
// the design's; the deviations of every point; and the verdict's line.
#include "inspection/inspection.h"

#include "core/number_text.h"
#include "core/units.h"

#include <cmath>
#include <numbers>

namespace dieprofile {

namespace {

std::string Text(const std::optional<double>& value) {
    return value ? ShortestText(*value) : std::string();
}

class Rows {
public:
    explicit Rows(std::optional<double> tolerance) : tolerance_(tolerance) {}
    void Add(std::string_view quantity, std::optional<double> design,
             std::optional<double> measured, std::string_view unit,
             std::optional<bool> within = std::nullopt) {
        const std::optional<double> deviation =
            design && measured ? std::optional(*measured - *design) : std::nullopt;
        rows_.push_back({std::string(quantity), design, measured, deviation, std::string(unit),
                         tolerance_ ? within : std::nullopt});
    }
    std::vector<ReportRow> Take() { return std::move(rows_); }

private:
    std::optional<double> tolerance_;
    std::vector<ReportRow> rows_;
};

std::optional<double> Count(std::size_t count) {
    return static_cast<double>(count);
}

} // namespace

std::vector<ReportRow> InspectionRows(const InspectionDesign& design,
                                      const Inspection& inspection) {
    const DesignFigures planned = DesignFiguresOf(design.Wall);
    const std::string unit(UnitSymbol(design.UnitDivisor));
    const auto& zones = inspection.Zones;
    Rows rows(inspection.Tolerance);
    for (const std::size_t zone : {0, 1, 3}) {
        rows.Add(std::string(ZoneName(zone)) + "_angle_deg", planned.AngleDeg[zone],
                 zones[zone].AngleDeg, "deg");
    }
    for (std::size_t zone = 0; zone < kZoneCount; ++zone) {
        rows.Add(std::string(ZoneName(zone)) + "_length", planned.Length[zone], zones[zone].Length,
                 unit);
    }
    rows.Add("bearing_diameter", planned.BearingDiameter, inspection.BearingDiameter, unit);
    rows.Add("mouth_diameter", planned.MouthDiameter, inspection.MouthDiameter, unit);
    rows.Add("exit_diameter", planned.ExitDiameter, inspection.ExitDiameter, unit);
    for (std::size_t zone = 0; zone < kZoneCount; ++zone) {
        rows.Add(std::string(ZoneName(zone)) + "_max_deviation", std::nullopt,
                 zones[zone].MaxDeviation, unit, zones[zone].Within);
    }
    const std::optional<WearRing>& ring = inspection.Ring;
    rows.Add("wear_ring_depth", std::nullopt, ring ? std::optional(ring->Depth) : std::nullopt,
             unit);
    const std::optional<double> ringHeight =
        ring ? std::optional(ring->HeightAboveBearing) : std::nullopt;
    rows.Add("wear_ring_height_above_bearing", std::nullopt, ringHeight, unit);
    rows.Add("wear_ring_width", std::nullopt, ring ? std::optional(ring->Width) : std::nullopt,
             unit);
    // Where the wire meets the measured die is where it wore its ring.
    rows.Add("meeting_point_above_bearing", design.MeetingPointAboveBearing, ringHeight, unit);
    rows.Add("axis_tilt_deg", std::nullopt, inspection.Fit.Tilt * 180 / std::numbers::pi, "deg");
    const std::size_t used = inspection.Fit.PointsUsed;
    rows.Add("points_used", std::nullopt, Count(used), "count");
    rows.Add("points_left_out", std::nullopt, Count(inspection.Points.size() - used), "count");
    return rows.Take();
}

std::string InspectionCsv(const InspectionDesign& design, const Inspection& inspection) {
    std::string csv = "quantity,design,measured,deviation,unit,within_tolerance\n";
    for (const ReportRow& row : InspectionRows(design, inspection)) {
        csv += row.Quantity + ',' + Text(row.Design) + ',' + Text(row.Measured) + ',' +
               Text(row.Deviation) + ',' + row.Unit + ',' +
               (row.Within ? (*row.Within ? "yes" : "no") : "") + '\n';
    }
    return csv;
}

std::string DeviationsCsv(const Inspection& inspection) {
    std::string csv = "x,y,zone,deviation\n";
    csv.reserve(inspection.Points.size() * 64);
    for (const InspectedPoint& p : inspection.Points) {
        csv += ShortestText(p.At.X);
        csv += ',';
        csv += ShortestText(p.At.Y);
        csv += ',';
        csv += ZoneName(p.Zone);
        csv += ',';
        csv += ShortestText(p.Deviation);
        csv += '\n';
    }
    return csv;
}

std::string VerdictLine(const InspectionDesign& design, const Inspection& inspection) {
    if (!inspection.Tolerance || !inspection.Within) {
        return "no tolerance given";
    }
    if (*inspection.Within) {
        return "within tolerance";
    }
    const InspectedPoint& worst = inspection.Points[inspection.WorstPoint];
    const std::string unit(UnitSymbol(design.UnitDivisor));
    return "outside tolerance: " + std::string(ZoneName(worst.Zone)) + " zone by " +
           FixedDecimals(std::abs(worst.Deviation) - *inspection.Tolerance, 4) + " " + unit +
           " at " + FixedDecimals(worst.At.Y, 4) + " " + unit;
}

} // namespace dieprofile

// The zone figures of an aligned bore: each point starts in the design zone whose height holds
// it, each zone's line is fitted to its points, and the points go to the nearest line of their
// own or a neighbouring zone until none moves, so that a die made unlike its design shows its own
// corners. Then the angles, lengths and diameters from those lines, the deviations from the
// design's wall, the wear ring and the verdict.
#include "inspection/inspection.h"

#include "core/number_text.h"
#include "core/units.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace dieprofile {

namespace {

constexpr double kDegrees = 180 / std::numbers::pi;

double IncludedAngle(double slope) {
    return 2 * std::atan(std::abs(slope)) * kDegrees;
}

// r against y by least squares, about the means for accuracy.
std::optional<ZoneLine> LeastSquaresLine(const std::vector<Point>& points,
                                         const std::vector<bool>& used) {
    double n = 0, meanY = 0, meanR = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (used[i]) {
            n += 1;
            meanY += points[i].Y;
            meanR += points[i].X;
        }
    }
    if (n < 2) {
        return std::nullopt;
    }
    meanY /= n;
    meanR /= n;
    double syy = 0, syr = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (used[i]) {
            syy += (points[i].Y - meanY) * (points[i].Y - meanY);
            syr += (points[i].Y - meanY) * (points[i].X - meanR);
        }
    }
    if (!(syy > 0)) {
        return std::nullopt;
    }
    const double slope = syr / syy;
    return ZoneLine{meanR - slope * meanY, slope};
}

double LineAt(const ZoneLine& line, double y) {
    return line.Offset + line.Slope * y;
}

double Across(const ZoneLine& line, Point p) {
    return (p.X - line.Offset - line.Slope * p.Y) / std::sqrt(1 + line.Slope * line.Slope);
}

// The line through the points (x the radius), fitted again without the worst fifth until the
// fifth left out no longer changes.
std::optional<ZoneLine> RobustLine(const std::vector<Point>& points) {
    std::vector<bool> used(points.size(), true);
    std::optional<ZoneLine> line = LeastSquaresLine(points, used);
    std::vector<double> sizes;
    std::vector<double> sorted;
    for (int round = 0; line && round < 30; ++round) {
        sizes.clear();
        for (const Point& p : points) {
            sizes.push_back(std::abs(Across(*line, p)));
        }
        sorted.assign(sizes.begin(), sizes.end());
        const std::size_t keep = std::max<std::size_t>(2, (points.size() * 4 + 4) / 5);
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(keep - 1),
                         sorted.end());
        const double bound = sorted[keep - 1];
        bool changed = false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const bool now = sizes[i] <= bound;
            changed = changed || now != used[i];
            used[i] = now;
        }
        const std::optional<ZoneLine> before = line;
        line = LeastSquaresLine(points, used);
        // Settled: the same points, or a line that no longer moves (noise at the fifth's edge).
        if (!changed || (line && std::abs(line->Offset - before->Offset) +
                                         std::abs(line->Slope - before->Slope) <=
                                     1e-15 * (std::abs(before->Offset) + 1))) {
            break;
        }
    }
    return line;
}

// One wall's zones: the points (x the radius) of that wall and the zone each is in.
struct WallZones {
    std::vector<Point> Points;
    std::vector<std::size_t> Zone;
    std::array<std::optional<ZoneLine>, kZoneCount> Lines{};
    std::array<double, kZoneCount + 1> Corners{}; // top face, the three corners, bottom face
    std::array<bool, kZoneCount + 1> CornerMeasured{};
    std::array<std::vector<Point>, kZoneCount> Fitted{}; // the points each line was fitted to
};

// The zones of one wall, starting from the design's corners or from those a first fit found.
void FitZones(WallZones& wall, const BoreWall& design, double top, double bottom,
              const WallZones* start) {
    wall.Corners = {top, design[1].Y, design[2].Y, design[3].Y, bottom};
    for (std::size_t corner = 1; start != nullptr && corner < kZoneCount; ++corner) {
        wall.Corners[corner] = start->Corners[corner];
    }
    wall.Zone.assign(wall.Points.size(), 0);
    std::array<std::size_t, kZoneCount> counts{};
    for (std::size_t i = 0; i < wall.Points.size(); ++i) {
        std::size_t zone = 0;
        while (zone + 1 < kZoneCount && wall.Points[i].Y < wall.Corners[zone + 1]) {
            ++zone;
        }
        wall.Zone[i] = zone;
        ++counts[zone];
    }
    for (int round = 0; round < 50; ++round) {
        for (std::size_t zone = 0; zone < kZoneCount; ++zone) {
            // The real corners are blended: 5 % of the zone's height at each end is left out.
            const double margin = 0.05 * (wall.Corners[zone] - wall.Corners[zone + 1]);
            std::vector<Point> inside;
            std::vector<Point> all;
            inside.reserve(counts[zone]);
            all.reserve(counts[zone]);
            for (std::size_t i = 0; i < wall.Points.size(); ++i) {
                if (wall.Zone[i] != zone) {
                    continue;
                }
                const Point p = wall.Points[i];
                all.push_back(p);
                if (p.Y <= wall.Corners[zone] - margin && p.Y >= wall.Corners[zone + 1] + margin) {
                    inside.push_back(p);
                }
            }
            wall.Fitted[zone] = inside.size() >= 3 ? std::move(inside) : std::move(all);
            wall.Lines[zone] =
                wall.Fitted[zone].size() >= 3 ? RobustLine(wall.Fitted[zone]) : std::nullopt;
        }
        for (std::size_t corner = 1; corner < kZoneCount; ++corner) {
            const auto& above = wall.Lines[corner - 1];
            const auto& below = wall.Lines[corner];
            wall.CornerMeasured[corner] = above && below && above->Slope != below->Slope;
            if (wall.CornerMeasured[corner]) {
                wall.Corners[corner] =
                    (below->Offset - above->Offset) / (above->Slope - below->Slope);
            }
        }
        std::size_t moved = 0;
        for (std::size_t i = 0; i < wall.Points.size(); ++i) {
            const std::size_t from = wall.Zone[i];
            std::size_t nearest = from;
            double distance = wall.Lines[from] ? std::abs(Across(*wall.Lines[from], wall.Points[i]))
                                               : std::numeric_limits<double>::infinity();
            for (const std::size_t zone : {from - 1, from + 1}) {
                if (zone < kZoneCount && wall.Lines[zone]) {
                    const double to = std::abs(Across(*wall.Lines[zone], wall.Points[i]));
                    if (to < distance) {
                        distance = to;
                        nearest = zone;
                    }
                }
            }
            if (nearest != from) {
                wall.Zone[i] = nearest;
                --counts[from];
                ++counts[nearest];
                ++moved;
            }
        }
        // Until no point moves, or only the odd one flickering across a corner in noise. Started
        // from zones a share of the points settled, the lines fitted once on all of them stand:
        // what moves then lies at the corners, in the margins no line is fitted to.
        if (moved * 100000 <= wall.Points.size() || start != nullptr) {
            break;
        }
    }
}

// The mean of a quantity over the walls that have it; none when no wall has it.
template <typename Of>
std::optional<double> MeanOverWalls(const std::vector<WallZones>& walls, Of of) {
    double sum = 0;
    int count = 0;
    for (const WallZones& wall : walls) {
        if (const std::optional<double> value = of(wall)) {
            sum += *value;
            ++count;
        }
    }
    return count > 0 ? std::optional(sum / count) : std::nullopt;
}

// The largest outward deviation of the cone from its own line, and how wide it is at half depth.
std::optional<WearRing> WearRingOf(const std::vector<WallZones>& walls) {
    std::optional<WearRing> ring;
    for (const WallZones& wall : walls) {
        const auto& line = wall.Lines[1];
        if (!line) {
            continue;
        }
        std::vector<Point> cone; // x: the deviation from the line, y: the height
        for (std::size_t i = 0; i < wall.Points.size(); ++i) {
            if (wall.Zone[i] == 1) {
                cone.push_back({Across(*line, wall.Points[i]), wall.Points[i].Y});
            }
        }
        std::sort(cone.begin(), cone.end(), [](Point a, Point b) { return a.Y < b.Y; });
        const auto deepest =
            std::max_element(cone.begin(), cone.end(), [](Point a, Point b) { return a.X < b.X; });
        if (deepest == cone.end() || (ring && deepest->X <= ring->Depth)) {
            continue;
        }
        const double half = deepest->X / 2;
        // Where the deviation falls through half the depth on either side, between two points.
        const auto deepestAt = static_cast<std::ptrdiff_t>(deepest - cone.begin());
        auto edge = [&](std::ptrdiff_t step) {
            std::ptrdiff_t at = deepestAt;
            const auto inside = [&](std::ptrdiff_t i) {
                return i >= 0 && i < static_cast<std::ptrdiff_t>(cone.size());
            };
            while (inside(at + step) && cone[static_cast<std::size_t>(at + step)].X >= half) {
                at += step;
            }
            const Point inner = cone[static_cast<std::size_t>(at)];
            if (!inside(at + step)) {
                return inner.Y;
            }
            const Point outer = cone[static_cast<std::size_t>(at + step)];
            return inner.Y + (outer.Y - inner.Y) * (inner.X - half) / (inner.X - outer.X);
        };
        const double upper = edge(1);
        const double lower = edge(-1);
        ring = WearRing{deepest->X, deepest->Y - wall.Corners[2], upper - lower};
    }
    return ring;
}

// The points of each wall (x the radius, y up from the bottom face) and their zones.
struct Zoned {
    std::vector<WallZones> Walls;
    std::vector<std::pair<std::size_t, std::size_t>> Where; // each point's wall and place in it
    double Top = 0;
    double Bottom = 0;
};

// The points already aligned by fit.
Zoned ZoneWalls(const BoreWall& wall, const Alignment& fit, const std::vector<Point>& aligned,
                const Zoned* start = nullptr) {
    Zoned zoned;
    zoned.Walls.resize(fit.BothWalls ? 2 : 1);
    zoned.Where.reserve(aligned.size());
    for (WallZones& zones : zoned.Walls) {
        zones.Points.reserve(aligned.size() / zoned.Walls.size() + 1);
    }
    std::vector<Bounds> extents(zoned.Walls.size());
    for (const Point& at : aligned) {
        const std::size_t side = fit.BothWalls && at.X < 0 ? 1 : 0;
        zoned.Where.emplace_back(side, zoned.Walls[side].Points.size());
        zoned.Walls[side].Points.push_back({std::abs(at.X), at.Y});
        extents[side].Add(at);
    }
    // The faces at the walls' mean top and bottom: a tilt left in the axis raises one wall's top
    // as much as it lowers the other's.
    for (const Bounds& extent : extents) {
        zoned.Top += extent.MaxY / static_cast<double>(extents.size());
        zoned.Bottom += extent.MinY / static_cast<double>(extents.size());
    }
    for (std::size_t side = 0; side < zoned.Walls.size(); ++side) {
        FitZones(zoned.Walls[side], wall, zoned.Top, zoned.Bottom,
                 start != nullptr ? &start->Walls[side] : nullptr);
    }
    return zoned;
}

// Moves the axis onto the midline of the two walls' zone lines, x = e + d·y in the aligned frame,
// fitted through each zone's midpoints at its corners; false when it is there already.
bool CentreOnMidline(Alignment& fit, const Zoned& zoned, double height) {
    double n = 0, sy = 0, sm = 0, syy = 0, sym = 0;
    for (std::size_t zone = 0; zone < kZoneCount; ++zone) {
        const auto& right = zoned.Walls[0].Lines[zone];
        const auto& left = zoned.Walls[1].Lines[zone];
        if (!right || !left) {
            continue;
        }
        const double weight = static_cast<double>(
            std::min(zoned.Walls[0].Fitted[zone].size(), zoned.Walls[1].Fitted[zone].size()));
        for (const double y : {zoned.Walls[0].Corners[zone], zoned.Walls[0].Corners[zone + 1]}) {
            const double middle = (LineAt(*right, y) - LineAt(*left, y)) / 2;
            n += weight;
            sy += weight * y;
            sm += weight * middle;
            syy += weight * y * y;
            sym += weight * y * middle;
        }
    }
    const double spread = n * syy - sy * sy;
    if (!(n > 0) || !(spread > 0)) {
        return false;
    }
    const double slope = (n * sym - sy * sm) / spread;
    const double offset = (sm - slope * sy) / n;
    if (!(std::abs(offset) + std::abs(slope) * height > 1e-15 * height)) {
        return false;
    }
    // The point of the midline at the design's y = 0, and its direction, back in the file's frame.
    const double cosine = std::cos(fit.Tilt);
    const double sine = std::sin(fit.Tilt);
    const double along = -fit.Direction * fit.Shift;
    const Point onAxis{fit.AxisX + offset * cosine + along * sine, -offset * sine + along * cosine};
    fit.Tilt += std::atan(fit.Direction * slope);
    fit.AxisX = onAxis.X - onAxis.Y * std::tan(fit.Tilt);
    fit.Shift = -fit.Direction *
                ((onAxis.X - fit.AxisX) * std::sin(fit.Tilt) + onAxis.Y * std::cos(fit.Tilt));
    return true;
}

} // namespace

std::string_view ZoneName(std::size_t zone) {
    constexpr std::array<std::string_view, kZoneCount> kNames{"entrance", "reduction", "bearing",
                                                              "exit"};
    return kNames[zone];
}

DesignFigures DesignFiguresOf(const BoreWall& wall) {
    DesignFigures figures;
    for (std::size_t zone = 0; zone < kZoneCount; ++zone) {
        const Point d = wall[zone] - wall[zone + 1];
        figures.Length[zone] = d.Y;
        if (zone != static_cast<std::size_t>(BoreZone::Bearing)) {
            figures.AngleDeg[zone] = IncludedAngle(d.X / d.Y);
        }
    }
    figures.BearingDiameter = 2 * wall[2].X;
    figures.MouthDiameter = 2 * wall[0].X;
    figures.ExitDiameter = 2 * wall[4].X;
    return figures;
}

Expected<Inspection> InspectDie(const InspectionDesign& design, const MeasuredPoints& measured,
                                const InspectionOptions& options) {
    const BoreWall& wall = design.Wall;
    const double fileUnit = measured.UnitDivisor.value_or(design.UnitDivisor);
    auto inDesignUnit = [&](double unit) {
        std::vector<Point> points = measured.Points;
        for (Point& p : points) {
            p = {p.X * unit / design.UnitDivisor, p.Y * unit / design.UnitDivisor};
        }
        return points;
    };
    const std::vector<Point> points = inDesignUnit(fileUnit);
    Inspection inspection;
    inspection.Fit = AlignToDesign(wall, points, options);
    const double limit = 0.1 * wall[2].X;
    if (!(inspection.Fit.MeanDistance <= limit)) {
        const double other =
            fileUnit == kInchUnitDivisor ? kMillimetreUnitDivisor : kInchUnitDivisor;
        const bool otherMatches =
            AlignToDesign(wall, inDesignUnit(other), options).MeanDistance <= limit;
        const bool inches = design.UnitDivisor == kInchUnitDivisor;
        const double apart = inspection.Fit.MeanDistance;
        return Refusal{"the measured points do not match the design (" +
                       (std::isfinite(apart) ? FixedDecimals(apart, inches ? 4 : 3) + " " +
                                                   std::string(UnitSymbol(design.UnitDivisor)) +
                                                   " apart on average after alignment): "
                                             : std::string("too far apart to measure): ")) +
                       (otherMatches ? "are they in " + std::string(UnitName(other)) + "?"
                                     : std::string("are they of this die?"))};
    }
    // Both walls: the axis is their midline, found from their own lines and refined until it
    // stays, so the design's wall places the die without setting its axis.
    // Found on a share of a large file, then the zones of every point from there.
    const std::vector<Point> sample = ThinnedPoints(points, kFitPoints);
    Zoned zoned = ZoneWalls(wall, inspection.Fit, AlignedPoints(inspection.Fit, sample));
    for (int round = 0; round < 4 && inspection.Fit.BothWalls; ++round) {
        if (!CentreOnMidline(inspection.Fit, zoned, wall.front().Y - wall.back().Y)) {
            break;
        }
        zoned = ZoneWalls(wall, inspection.Fit, AlignedPoints(inspection.Fit, sample));
    }
    const Alignment& fit = inspection.Fit;
    const std::vector<Point> aligned = AlignedPoints(fit, points);
    if (sample.size() < points.size()) {
        zoned = ZoneWalls(wall, fit, aligned, &zoned);
    }
    std::vector<WallZones>& walls = zoned.Walls;
    const double top = zoned.Top;
    const double bottom = zoned.Bottom;
    const std::vector<double> deviations = WallDeviations(wall, aligned);
    inspection.Points.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        inspection.Points.push_back(
            {aligned[i], walls[zoned.Where[i].first].Zone[zoned.Where[i].second], deviations[i]});
    }

    const double height = wall.front().Y - wall.back().Y;
    if (!fit.BothWalls) {
        inspection.Notes.emplace_back(
            fit.AxisFitted ? "one wall: the axis is fitted with it, along the file's y; the "
                             "diameters are not measured, as one wall cannot tell a wider bore "
                             "from an axis off its centre"
                           : "one wall: the axis is taken at x = 0 as the file has it");
    }
    if (std::abs(top - wall.front().Y) > 0.01 * height ||
        std::abs(bottom - wall.back().Y) > 0.01 * height) {
        inspection.Notes.emplace_back(
            "the faces are not in the file: the entrance's and the back "
            "relief's lengths, the mouth and the exit are taken at the top "
            "and the bottom of the points");
    }
    for (std::size_t zone = 0; zone < kZoneCount; ++zone) {
        ZoneFigures& figures = inspection.Zones[zone];
        for (const InspectedPoint& p : inspection.Points) {
            if (p.Zone != zone) {
                continue;
            }
            ++figures.Points;
            if (!figures.MaxDeviation || std::abs(p.Deviation) > std::abs(*figures.MaxDeviation)) {
                figures.MaxDeviation = p.Deviation;
                figures.MaxDeviationHeight = p.At.Y;
            }
        }
        if (figures.Points < 3) {
            inspection.Notes.push_back("the " + std::string(ZoneName(zone)) + " zone has " +
                                       std::to_string(figures.Points) +
                                       " points, too few to measure it");
            continue;
        }
        if (zone != static_cast<std::size_t>(BoreZone::Bearing)) {
            figures.AngleDeg =
                MeanOverWalls(walls, [&](const WallZones& w) -> std::optional<double> {
                    return w.Lines[zone] ? std::optional(IncludedAngle(w.Lines[zone]->Slope))
                                         : std::nullopt;
                });
        }
        const auto corner = [&](std::size_t at) {
            return MeanOverWalls(walls, [&](const WallZones& w) -> std::optional<double> {
                return at == 0 || at == kZoneCount || w.CornerMeasured[at]
                           ? std::optional(w.Corners[at])
                           : std::nullopt;
            });
        };
        const std::optional<double> upper = corner(zone);
        const std::optional<double> lower = corner(zone + 1);
        if (upper && lower) {
            figures.Length = *upper - *lower;
        }
    }
    // Diameters: twice a wall's radius; with both walls, their mean radius twice: the mean width.
    auto diameter = [&](std::size_t zone, auto radius) -> std::optional<double> {
        if (inspection.Zones[zone].Points < 3) {
            return std::nullopt;
        }
        const std::optional<double> mean = MeanOverWalls(walls, radius);
        return mean ? std::optional(2 * *mean) : std::nullopt;
    };
    const bool diameters = fit.BothWalls || !fit.AxisFitted;
    if (diameters) {
        inspection.BearingDiameter = diameter(2, [](const WallZones& w) -> std::optional<double> {
            const std::vector<Point>& fitted = w.Fitted[2];
            if (fitted.empty()) {
                return std::nullopt;
            }
            double sum = 0;
            for (const Point& p : fitted) {
                sum += p.X;
            }
            return sum / static_cast<double>(fitted.size());
        });
    }
    if (diameters) {
        inspection.MouthDiameter = diameter(0, [&](const WallZones& w) -> std::optional<double> {
            return w.Lines[0] ? std::optional(LineAt(*w.Lines[0], top)) : std::nullopt;
        });
        inspection.ExitDiameter = diameter(3, [&](const WallZones& w) -> std::optional<double> {
            return w.Lines[3] ? std::optional(LineAt(*w.Lines[3], bottom)) : std::nullopt;
        });
    }
    if (inspection.Zones[1].Points >= 3) {
        inspection.Ring = WearRingOf(walls);
    }

    inspection.Tolerance = options.Tolerance;
    if (options.Tolerance) {
        const double band = *options.Tolerance;
        inspection.Within = true;
        double worst = -std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < inspection.Points.size(); ++i) {
            const InspectedPoint& p = inspection.Points[i];
            const double beyond = std::abs(p.Deviation) - band;
            if (beyond > worst) {
                worst = beyond;
                inspection.WorstPoint = i;
            }
        }
        for (ZoneFigures& figures : inspection.Zones) {
            if (figures.MaxDeviation) {
                figures.Within = std::abs(*figures.MaxDeviation) <= band;
                inspection.Within = *inspection.Within && *figures.Within;
            }
        }
    }
    return inspection;
}

} // namespace dieprofile

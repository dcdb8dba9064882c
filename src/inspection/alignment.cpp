// The alignment: a rigid move of the file's points (the axis's position and tilt, the axial shift,
// which end is the entrance) that brings them closest to the design's wall in least squares of
// the normal distances, the worst fifth left out and the fit repeated until it settles.
#include "inspection/inspection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace dieprofile {

namespace {

double Dot(Point a, Point b) {
    return a.X * b.X + a.Y * b.Y;
}

// The signed distance of (r, y) from the wall and its gradient with respect to r and y.
struct Distance {
    double Value = 0;
    Point Gradient;
};

// The wall's segments with what every distance needs of them, worked out once.
struct Segment2 {
    Point Start;
    Point Step;
    double Length2 = 0;
    Point Normal; // outward: down the wall, toward larger radii
};
using WallSegments = std::array<Segment2, 4>;

WallSegments SegmentsOf(const BoreWall& wall) {
    WallSegments segments{};
    for (std::size_t k = 0; k + 1 < wall.size(); ++k) {
        const Point d = wall[k + 1] - wall[k];
        const double length = std::hypot(d.X, d.Y);
        segments[k] = {wall[k], d, Dot(d, d), {-d.Y / length, d.X / length}};
    }
    return segments;
}

Distance DistanceToWall(const WallSegments& wall, Point q) {
    double best = std::numeric_limits<double>::infinity();
    std::size_t bestZone = 0;
    Point bestFoot;
    bool interior = false;
    for (std::size_t k = 0; k < wall.size(); ++k) {
        const Segment2& segment = wall[k];
        if (!(segment.Length2 > 0)) {
            continue;
        }
        const double t =
            std::clamp(Dot(q - segment.Start, segment.Step) / segment.Length2, 0.0, 1.0);
        const Point foot{segment.Start.X + segment.Step.X * t,
                         segment.Start.Y + segment.Step.Y * t};
        const Point e = q - foot;
        const double distance2 = Dot(e, e);
        if (distance2 < best) {
            best = distance2;
            bestZone = k;
            bestFoot = foot;
            interior = t > 0 && t < 1;
        }
    }
    const Point normal = wall[bestZone].Normal;
    const Point e = q - bestFoot;
    const double distance = std::sqrt(best);
    if (interior || !(distance > 0)) {
        return {Dot(e, normal), normal};
    }
    const double sign = Dot(e, normal) >= 0 ? 1 : -1;
    return {sign * distance, {sign * e.X / distance, sign * e.Y / distance}};
}

// The unknowns of the fit; which of them are free depends on the walls and on --fit-axis.
struct Pose {
    double AxisX = 0;
    double Tilt = 0;
    double Cosine = 1; // of the tilt, as the last Turned() left it
    double Sine = 0;
    double Shift = 0;
    int Direction = 1;
    int Side = 1; // 0: both walls, each point on the side it lies
};

struct Evaluated {
    double Value = 0;
    std::array<double, 3> Jacobian{}; // by AxisX, Tilt, Shift
};

Pose Turned(Pose pose) {
    pose.Cosine = std::cos(pose.Tilt);
    pose.Sine = std::sin(pose.Tilt);
    return pose;
}

Evaluated Evaluate(const WallSegments& wall, const Pose& pose, Point p) {
    const double cosine = pose.Cosine;
    const double sine = pose.Sine;
    const double across = (p.X - pose.AxisX) * cosine - p.Y * sine;
    const double along = (p.X - pose.AxisX) * sine + p.Y * cosine;
    const double side = pose.Side != 0 ? pose.Side : (across >= 0 ? 1 : -1);
    const Point q{side * across, pose.Direction * along + pose.Shift};
    const Distance distance = DistanceToWall(wall, q);
    const Point g = distance.Gradient;
    return {distance.Value,
            {g.X * -side * cosine + g.Y * -pose.Direction * sine,
             g.X * -side * along + g.Y * pose.Direction * across, g.Y}};
}

// The distance below which the best four fifths lie.
double KeptBound(std::vector<double>& sizes) {
    if (sizes.empty()) {
        return 0;
    }
    const auto keep = sizes.begin() + static_cast<std::ptrdiff_t>((sizes.size() * 4 + 4) / 5 - 1);
    std::nth_element(sizes.begin(), keep, sizes.end());
    return *keep;
}

struct Fitted {
    Pose At;
    double MeanDistance = std::numeric_limits<double>::infinity();
    std::size_t Used = 0;
};

// The mean distance of the best four fifths of the points from the wall at this pose.
Fitted Score(const WallSegments& wall, Pose pose, const std::vector<Point>& points,
             std::vector<double>& sizes) {
    pose = Turned(pose);
    sizes.clear();
    for (const Point& p : points) {
        sizes.push_back(std::abs(Evaluate(wall, pose, p).Value));
    }
    const double bound = KeptBound(sizes);
    double sum = 0;
    std::size_t used = 0;
    for (const double size : sizes) {
        if (size <= bound) {
            sum += size;
            ++used;
        }
    }
    return {pose, used > 0 ? sum / static_cast<double>(used) : sum, used};
}

// Solves the small system a·x = b by elimination with partial pivoting; false when singular.
bool Solve(std::array<std::array<double, 3>, 3> a, std::array<double, 3> b, std::size_t n,
           std::array<double, 3>& x) {
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row) {
            if (std::abs(a[row][col]) > std::abs(a[pivot][col])) {
                pivot = row;
            }
        }
        if (!(std::abs(a[pivot][col]) > 0)) {
            return false;
        }
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (std::size_t row = col + 1; row < n; ++row) {
            const double factor = a[row][col] / a[col][col];
            for (std::size_t k = col; k < n; ++k) {
                a[row][k] -= factor * a[col][k];
            }
            b[row] -= factor * b[col];
        }
    }
    for (std::size_t row = n; row-- > 0;) {
        double sum = b[row];
        for (std::size_t k = row + 1; k < n; ++k) {
            sum -= a[row][k] * x[k];
        }
        x[row] = sum / a[row][row];
    }
    return true;
}

// Gauss-Newton steps on the best four fifths, the fifth chosen anew each step, until the pose
// no longer moves. The free unknowns: the shift alone (one wall on the file's axis), the axis's
// position too (one wall moved across), or its tilt as well (both walls).
Fitted Refine(const WallSegments& wall, Pose pose, std::size_t unknowns,
              const std::vector<Point>& points, double height, int steps) {
    std::vector<double> sizes;
    std::vector<Evaluated> evaluated(points.size());
    // Unknown indices in the order solved: the shift first, then the axis.
    const std::array<std::size_t, 3> order{2, 0, 1};
    const std::size_t n = unknowns;
    for (int step = 0; step < steps; ++step) {
        pose = Turned(pose);
        sizes.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            evaluated[i] = Evaluate(wall, pose, points[i]);
            sizes.push_back(std::abs(evaluated[i].Value));
        }
        const double bound = KeptBound(sizes);
        std::array<std::array<double, 3>, 3> normal{};
        std::array<double, 3> right{};
        for (const Evaluated& e : evaluated) {
            if (std::abs(e.Value) > bound) {
                continue;
            }
            for (std::size_t r = 0; r < n; ++r) {
                for (std::size_t c = 0; c < n; ++c) {
                    normal[r][c] += e.Jacobian[order[r]] * e.Jacobian[order[c]];
                }
                right[r] += e.Jacobian[order[r]] * e.Value;
            }
        }
        std::array<double, 3> delta{};
        if (!Solve(normal, right, n, delta)) {
            break;
        }
        // A step no longer than a tenth of the die keeps the nearest segments meaningful.
        const double scale = std::min(1.0, 0.1 * height / (std::abs(delta[0]) + 1e-300));
        pose.Shift -= scale * delta[0];
        pose.AxisX -= scale * delta[1];
        pose.Tilt = std::clamp(pose.Tilt - scale * delta[2], -0.1, 0.1);
        const double moved = std::abs(delta[0]) + std::abs(delta[1]) + height * std::abs(delta[2]);
        if (!(moved > 1e-14 * height)) {
            break;
        }
    }
    return Score(wall, pose, points, sizes);
}

} // namespace

// At most this many points, one from each run of the file in turn, picked at random within it so
// that no order of the file (the two walls alternating, say) leaves a wall out.
std::vector<Point> ThinnedPoints(const std::vector<Point>& points, std::size_t most) {
    if (points.size() <= most) {
        return points;
    }
    std::vector<Point> few;
    few.reserve(most);
    std::uint64_t random = 0x9E3779B97F4A7C15U;
    for (std::size_t i = 0; i < most; ++i) {
        const std::size_t start = i * points.size() / most;
        const std::size_t run = (i + 1) * points.size() / most - start;
        random = random * 6364136223846793005U + 1442695040888963407U;
        few.push_back(points[start + static_cast<std::size_t>(random >> 33) % run]);
    }
    return few;
}

namespace {

// Both walls: the axis through the middles of the points' extents, slice by slice along y.
void MidlineAxis(const std::vector<Point>& points, Bounds extent, Pose& pose) {
    constexpr std::size_t kSlices = 40;
    std::array<Bounds, kSlices> slices{};
    for (const Point& p : points) {
        const double at = (p.Y - extent.MinY) / (extent.Height() + 1e-300) * kSlices;
        slices[std::min(kSlices - 1, static_cast<std::size_t>(std::max(0.0, at)))].Add(p);
    }
    double n = 0, sy = 0, sx = 0, syy = 0, sxy = 0;
    for (const Bounds& slice : slices) {
        if (slice.Empty()) {
            continue;
        }
        const double y = (slice.MinY + slice.MaxY) / 2;
        const double x = (slice.MinX + slice.MaxX) / 2;
        n += 1;
        sy += y;
        sx += x;
        syy += y * y;
        sxy += x * y;
    }
    const double spread = n * syy - sy * sy;
    const double slope = spread > 0 ? (n * sxy - sx * sy) / spread : 0;
    pose.Tilt = std::atan(slope);
    pose.AxisX = n > 0 ? (sx - slope * sy) / n : 0;
}

// How many unknowns a pose leaves free: one wall keeps the file's direction of the axis, so that
// its angles are measured as the file has them.
std::size_t Unknowns(const Pose& pose, const InspectionOptions& options) {
    return pose.Side == 0 ? 3 : options.FitAxis ? 2 : 1;
}

// A pose of both walls stands only with a tenth of the points at least on each side: otherwise it
// is one wall with its axis moved across, which --fit-axis asks for.
bool HoldsBothWalls(const Pose& pose, const std::vector<Point>& points) {
    if (pose.Side != 0) {
        return true;
    }
    std::size_t left = 0;
    for (const Point& p : points) {
        left += (p.X - pose.AxisX) * std::cos(pose.Tilt) - p.Y * std::sin(pose.Tilt) < 0 ? 1 : 0;
    }
    return 10 * left >= points.size() && 10 * (points.size() - left) >= points.size();
}

Fitted Align(const BoreWall& design, const std::vector<Point>& points,
             const InspectionOptions& options, double height) {
    const WallSegments wall = SegmentsOf(design);
    Bounds extent;
    for (const Point& p : points) {
        extent.Add(p);
    }
    const std::vector<Point> few = ThinnedPoints(points, 600);
    const std::vector<Point> many = ThinnedPoints(points, kFitPoints);
    const double bearingRadius = design[2].X;
    std::vector<Pose> starts;
    if (options.Walls != InspectedWalls::One) {
        Pose both;
        both.Side = 0;
        MidlineAxis(points, extent, both);
        starts.push_back(both);
    }
    if (options.Walls != InspectedWalls::Both) {
        for (const int side : {1, -1}) {
            Pose one;
            one.Side = side;
            if (options.FitAxis) {
                one.AxisX = side > 0 ? extent.MinX - bearingRadius : extent.MaxX + bearingRadius;
            }
            starts.push_back(one);
        }
    }
    // The axial position and the entrance's end searched on a grid, then fitted.
    std::vector<double> sizes;
    Fitted best;
    for (Pose start : starts) {
        const std::size_t unknowns = Unknowns(start, options);
        for (const int direction : {1, -1}) {
            start.Direction = direction;
            const double low = direction > 0 ? -extent.MaxY : extent.MinY;
            const double high = direction > 0 ? height - extent.MinY : height + extent.MaxY;
            Fitted grid;
            constexpr int kSteps = 240;
            for (int i = 0; i <= kSteps; ++i) {
                start.Shift = low + (high - low) * i / kSteps;
                const Fitted scored = Score(wall, start, few, sizes);
                if (scored.MeanDistance < grid.MeanDistance) {
                    grid = scored;
                }
            }
            const Fitted fitted = Refine(wall, grid.At, unknowns, few, height, 60);
            if (fitted.MeanDistance < best.MeanDistance && HoldsBothWalls(fitted.At, few)) {
                best = fitted;
            }
        }
    }
    // The best of them fitted on more points, then on all.
    const std::size_t unknowns = Unknowns(best.At, options);
    best = Refine(wall, best.At, unknowns, many, height, 200);
    return many.size() == points.size() ? best : Refine(wall, best.At, unknowns, points, height, 4);
}

} // namespace

Point AlignedPoint(const Alignment& alignment, Point p) {
    const double cosine = std::cos(alignment.Tilt);
    const double sine = std::sin(alignment.Tilt);
    const double across = (p.X - alignment.AxisX) * cosine - p.Y * sine;
    const double along = (p.X - alignment.AxisX) * sine + p.Y * cosine;
    return {across, alignment.Direction * along + alignment.Shift};
}

double WallDeviation(const BoreWall& wall, Point aligned) {
    return DistanceToWall(SegmentsOf(wall), {std::abs(aligned.X), aligned.Y}).Value;
}

Point ExaggeratedPoint(const BoreWall& wall, Point aligned, double factor) {
    const double side = aligned.X < 0 ? -1 : 1;
    const Distance d = DistanceToWall(SegmentsOf(wall), {std::abs(aligned.X), aligned.Y});
    const double moved = d.Value * (factor - 1);
    return {aligned.X + side * d.Gradient.X * moved, aligned.Y + d.Gradient.Y * moved};
}

Alignment AlignToDesign(const BoreWall& wall, const std::vector<Point>& points,
                        const InspectionOptions& options) {
    const double height = wall.front().Y - wall.back().Y;
    const Fitted fitted = Align(wall, points, options, height);
    Alignment alignment;
    alignment.BothWalls = fitted.At.Side == 0;
    alignment.AxisFitted = alignment.BothWalls || options.FitAxis;
    alignment.AxisX = fitted.At.AxisX;
    alignment.Tilt = fitted.At.Tilt;
    alignment.Shift = fitted.At.Shift;
    alignment.Direction = fitted.At.Direction;
    alignment.Side = fitted.At.Side;
    alignment.MeanDistance = fitted.MeanDistance;
    alignment.PointsUsed = fitted.Used;
    return alignment;
}

} // namespace dieprofile

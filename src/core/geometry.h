// Points and extents shared by every layer: the die's section in true units, a sheet of paper in
// millimetres. Which axis points where is the using code's to say.
#pragma once

#include <algorithm>
#include <limits>
#include <optional>

namespace dieprofile {

struct Point {
    double X = 0;
    double Y = 0;
    bool operator==(const Point&) const = default;
};

// A step from b to a: a direction or a span, held as a point.
inline Point operator-(Point a, Point b) {
    return {a.X - b.X, a.Y - b.Y};
}

inline Point operator+(Point a, Point b) {
    return {a.X + b.X, a.Y + b.Y};
}

inline Point operator*(Point a, double k) {
    return {a.X * k, a.Y * k};
}

inline double Dot(Point a, Point b) {
    return a.X * b.X + a.Y * b.Y;
}

// The z component of the cross product: positive when b turns left of a.
inline double Cross(Point a, Point b) {
    return a.X * b.Y - a.Y * b.X;
}

// The smallest upright rectangle around the points added so far; empty until the first.
struct Bounds {
    double MinX = std::numeric_limits<double>::infinity();
    double MaxX = -std::numeric_limits<double>::infinity();
    double MinY = std::numeric_limits<double>::infinity();
    double MaxY = -std::numeric_limits<double>::infinity();

    void Add(Point p) {
        MinX = std::min(MinX, p.X);
        MaxX = std::max(MaxX, p.X);
        MinY = std::min(MinY, p.Y);
        MaxY = std::max(MaxY, p.Y);
    }
    bool Empty() const { return MinX > MaxX; }
    double Width() const { return Empty() ? 0 : MaxX - MinX; }
    double Height() const { return Empty() ? 0 : MaxY - MinY; }
};

// The stretch of the line start + t·(end − start), t from 0 to 1, that lies in a box.
struct ClipSpan {
    double Enter = 0;
    double Leave = 1;
};

// Liang and Barsky's clipping, the parameter narrowed edge by edge; none when no part of the line
// is in the box (a line that only touches it has Enter == Leave).
inline std::optional<ClipSpan> ClippedSpan(Point start, Point end, const Bounds& box) {
    const Point d = end - start;
    const double edges[4][2] = {{-d.X, start.X - box.MinX},
                                {d.X, box.MaxX - start.X},
                                {-d.Y, start.Y - box.MinY},
                                {d.Y, box.MaxY - start.Y}};
    ClipSpan span;
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q < 0) {
                return std::nullopt; // parallel to the edge and outside it
            }
            continue;
        }
        const double t = q / p;
        if (p < 0) {
            span.Enter = std::max(span.Enter, t);
        } else {
            span.Leave = std::min(span.Leave, t);
        }
    }
    if (span.Enter > span.Leave) {
        return std::nullopt;
    }
    return span;
}

} // namespace dieprofile

// Points and extents shared by every layer: the die's section in true units, a sheet of paper in
// millimetres. Which axis points where is the using code's to say.
#pragma once

#include <algorithm>
#include <limits>

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

} // namespace dieprofile

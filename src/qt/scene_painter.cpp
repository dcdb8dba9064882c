#include "qt/scene_painter.h"

#include "core/geometry.h"
#include "profile/form_design.h"

#include <QPen>
#include <cmath>

namespace dieprofile {

namespace {

// Far beyond any panel, yet small enough that the raster engine's fixed-point arithmetic is safe.
constexpr double kLimitPixels = 20000;

// The line clipped to the square |x|, |y| <= kLimitPixels. Exact enough only while the segment is
// short: for ends far out the parameter of the visible part vanishes in the rounding of t, and the
// line is lost or misplaced.
bool ClipShort(double& x1, double& y1, double& x2, double& y2) {
    const std::optional<ClipSpan> span = ClippedSpan(
        {x1, y1}, {x2, y2}, Bounds{-kLimitPixels, kLimitPixels, -kLimitPixels, kLimitPixels});
    if (!span) {
        return false;
    }
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double ox = x1;
    const double oy = y1;
    x1 = ox + span->Enter * dx;
    y1 = oy + span->Enter * dy;
    x2 = ox + span->Leave * dx;
    y2 = oy + span->Leave * dy;
    return true;
}

bool Inside(Point p) {
    return std::fabs(p.X) <= kLimitPixels && std::fabs(p.Y) <= kLimitPixels;
}

// Whether the rectangle spanned by the ends reaches the square; a segment whose rectangle does not
// cannot cross it.
bool MayCross(Point a, Point b) {
    return std::min(a.X, b.X) <= kLimitPixels && std::max(a.X, b.X) >= -kLimitPixels &&
           std::min(a.Y, b.Y) <= kLimitPixels && std::max(a.Y, b.Y) >= -kLimitPixels;
}

Point Midpoint(Point a, Point b) {
    return {a.X / 2 + b.X / 2, a.Y / 2 + b.Y / 2};
}

double Span(Point a, Point b) {
    return std::max(std::fabs(b.X - a.X), std::fabs(b.Y - a.Y));
}

// Where the segment from a point inside the square to one outside leaves it. Halving decides by
// comparisons alone, so a far end costs no precision; the last pixel is cut exactly.
Point Exit(Point in, Point out) {
    while (Span(in, out) > 1) {
        const Point middle = Midpoint(in, out);
        (Inside(middle) ? in : out) = middle;
    }
    ClipShort(in.X, in.Y, out.X, out.Y);
    return out;
}

// Cuts the segment to the square |x|, |y| <= kLimitPixels; false when no part of it is inside.
bool ClipToLimit(double& x1, double& y1, double& x2, double& y2) {
    Point a{x1, y1};
    Point b{x2, y2};
    // Both ends outside: halve towards the square until a point of the segment is inside it.
    while (!Inside(a) && !Inside(b)) {
        if (!MayCross(a, b)) {
            return false;
        }
        if (Span(a, b) <= 1) {
            break; // short enough to cut exactly
        }
        const Point middle = Midpoint(a, b);
        if (Inside(middle)) {
            a = Exit(middle, a);
            b = Exit(middle, b);
            break;
        }
        // With the middle outside the square, at most one half can reach it.
        (MayCross(a, middle) ? b : a) = middle;
    }
    if (Inside(b) && !Inside(a)) {
        a = Exit(b, a);
    } else if (Inside(a) && !Inside(b)) {
        b = Exit(a, b);
    }
    x1 = a.X;
    y1 = a.Y;
    x2 = b.X;
    y2 = b.Y;
    return ClipShort(x1, y1, x2, y2);
}

QPen LinePen(int widthPixels, LineStyle style) {
    QPen pen(Qt::black);
    pen.setWidth(widthPixels);
    switch (style) {
    case LineStyle::Solid:
        pen.setStyle(Qt::SolidLine);
        break;
    case LineStyle::Dashed:
        pen.setStyle(Qt::DashLine);
        break;
    case LineStyle::Dotted:
        pen.setStyle(Qt::DotLine);
        break;
    }
    // Square caps close the corners of the frame; broken lines stop where their pattern does.
    pen.setCapStyle(style == LineStyle::Solid ? Qt::SquareCap : Qt::FlatCap);
    return pen;
}

void DrawSegment(QPainter& painter, double x1, double y1, double x2, double y2) {
    if (const std::optional<QLineF> line = PixelLine(x1, y1, x2, y2)) {
        painter.drawLine(*line);
    }
}

} // namespace

std::optional<QLineF> PixelLine(double x1, double y1, double x2, double y2) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
        return std::nullopt;
    }
    x1 /= kTwipsPerPixel;
    y1 /= kTwipsPerPixel;
    x2 /= kTwipsPerPixel;
    y2 /= kTwipsPerPixel;
    if (!ClipToLimit(x1, y1, x2, y2)) {
        return std::nullopt;
    }
    // Whole pixels keep aliased lines crisp: a 1-pixel line fills one row, a 2-pixel line two.
    return QLineF(std::round(x1), std::round(y1), std::round(x2), std::round(y2));
}

void PaintDrawing(QPainter& painter, const DrawingScene& scene) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const DecorationSegment& line : DecorationSegments()) {
        painter.setPen(LinePen(line.WidthPixels, LineStyle::Solid));
        DrawSegment(painter, line.X1, line.Y1, line.X2, line.Y2);
    }
    painter.restore();
    PaintDieDrawing(painter, scene);
}

void PaintDieDrawing(QPainter& painter, const DrawingScene& scene) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const SegmentDesign& design : SceneSegments()) {
        const Segment& s = scene.*design.Member;
        painter.setPen(LinePen(design.WidthPixels, design.Style));
        DrawSegment(painter, s.X1, s.Y1, s.X2, s.Y2);
    }
    painter.restore();
}

} // namespace dieprofile

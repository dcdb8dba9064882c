// The measured points of a die's bore as the instruments give them: a point list (a projector's
// stage readings, a profiler's export: CSV or text with a header naming x and y) or an ASCII DXF
// traced in CAD. Every reader returns the points in the file's own frame and unit, or the one
// reason the file is refused, naming the row or line where it went wrong.
#pragma once

#include "core/expected.h"
#include "core/geometry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

inline constexpr std::size_t kMaxMeasuredBytes = std::size_t{64} * 1024 * 1024;
inline constexpr std::size_t kMaxMeasuredPoints = 1'000'000;
inline constexpr std::size_t kMinMeasuredPoints = 10;

struct MeasuredPoints {
    std::vector<Point> Points;
    // The unit the file states (25.4 inches, 1 millimetres, as a unit divisor); none: the
    // design's.
    std::optional<double> UnitDivisor;
};

using MeasuredRead = Expected<MeasuredPoints>;

// A point list: '#' comment lines, a header naming the columns (x and y, or x_mm/y_mm, x_in/y_in,
// in any case; others ignored), then one point a line; commas, semicolons, tabs or spaces between
// the columns, and with semicolons or tabs a decimal comma too. UTF-8.
MeasuredRead ReadPointList(std::string_view text);

// The LINE, POLYLINE (with its VERTEXes), LWPOLYLINE and ARC entities of an ASCII DXF's ENTITIES
// section, on every layer or only on `layer` (empty: all), as points along them: straight runs
// sampled evenly, arcs flattened to 0.1 % of their radius. The unit is $INSUNITS (1 inches,
// 4 millimetres), otherwise none.
MeasuredRead ReadDxfPoints(std::string_view text, std::string_view layer);

// The file at path, by its extension (.dxf a DXF, anything else a point list): a regular file of
// at most kMaxMeasuredBytes with kMinMeasuredPoints to kMaxMeasuredPoints points. The reason
// alone on refusal; the caller names the file.
MeasuredRead ReadMeasuredFile(const std::string& path, std::string_view layer);

} // namespace dieprofile

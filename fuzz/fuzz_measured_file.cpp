// Feeds arbitrary bytes to the two readers of measured points, the point list and the DXF (on
// every layer and on one). Whatever the bytes, they must not crash, hang or read out of bounds,
// and what they give must hold: a refusal has a reason; accepted points number from 10 to
// 1,000,000, are all finite, and carry no unit or inches or millimetres.
#include "core/units.h"
#include "inspection/measured_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

namespace {

void Check(const dieprofile::MeasuredRead& read) {
    const auto fail = [](const char* what) {
        std::fprintf(stderr, "measured file property failed: %s\n", what);
        std::abort();
    };
    if (!read) {
        if (read.Error().Message.empty()) {
            fail("a refusal without a reason");
        }
        return;
    }
    const auto& points = *read;
    if (points.Points.size() < dieprofile::kMinMeasuredPoints ||
        points.Points.size() > dieprofile::kMaxMeasuredPoints) {
        fail("a point count outside the limits");
    }
    for (const dieprofile::Point& p : points.Points) {
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
            fail("a point that is not finite");
        }
    }
    if (points.UnitDivisor && *points.UnitDivisor != dieprofile::kInchUnitDivisor &&
        *points.UnitDivisor != dieprofile::kMillimetreUnitDivisor) {
        fail("a unit other than inches or millimetres");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Check(dieprofile::ReadPointList(bytes));
    Check(dieprofile::ReadDxfPoints(bytes, ""));
    Check(dieprofile::ReadDxfPoints(bytes, "0"));
    return 0;
}

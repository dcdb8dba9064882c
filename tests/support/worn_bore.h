// A measured file made from a design's own wall: both walls sampled densely, a wear ring pressed
// into the middle of the reduction cone, the whole moved up the instrument's table.
#pragma once

#include "profile/die_section.h"

#include <string>

namespace dieprofile::test {

// The point list (header x,y) with a ring of this depth, outward, a tenth of the cone's height
// wide, shifted up by shift.
std::string WornBoreCsv(const BoreWall& wall, double ringDepth, double shift);

} // namespace dieprofile::test

// A design's die as opening its file types it into the window, and calculated by the one
// Calculate (profile/die_calculation.h). Here, the lowest layer that reads both the design file
// and the catalogue: the die set's passes, a recut and the tests call it.
#pragma once

#include "core/expected.h"
#include "output/design_file.h"
#include "profile/die_calculation.h"

namespace dieprofile {

// A design as opening its file types it into the window: its unit, its blank with a catalogue
// row's own dimensions, its fields. Refused when the blank is not in the catalogue.
Expected<TypedDie> TypedDieOf(const Design& design);

// A design's die calculated over a window just loaded, as opening its file calculates it.
Expected<Calculation, CalculateRefusal> CalculateDesign(const Design& design);

} // namespace dieprofile

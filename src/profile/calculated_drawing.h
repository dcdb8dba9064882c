// What one Calculate drew: the drawing and the profile it computed, with the inputs it read. It is
// the one thing every reader of a die's drawing takes (the window's exports and prints, the die
// set's passes and sheets), so none of them needs the window.
#pragma once

#include "core/expected.h"
#include "core/profile_state.h"
#include "profile/die_section.h"
#include "profile/drawing_scene.h"

#include <array>
#include <optional>
#include <string>

namespace dieprofile {

// The drawing's frame, scene and unit, the profile computed, the blank and the fields as they were
// read, and the two results as the window shows them. The unit, the blank and the fields can all
// change afterwards without a new drawing, so exports read the drawing through this, never
// through the present state.
struct CalculatedDrawing {
    SectionFrame Frame;
    double UnitDivisor = 0;
    ProfileState Profile;
    std::string Blank;                      // the catalogue row's text
    std::array<std::string, 11> FieldTexts; // Text1's texts by index; element 9 is never used
    std::string DeltaValue;                 // as written into Text3
    std::string AreaReduction;              // as written into Text2
    DrawingScene Scene;                     // the drawing as the panel shows it
    bool operator==(const CalculatedDrawing&) const = default;
};

// Whether the profile of a Calculate can be made, or the fault that keeps it from being made, in
// the die maker's words ("the reduction cone is narrower than the bearing"). The window draws
// such a profile as designed; only what leaves the program is refused.
Expected<void> CheckProfile(const CalculatedDrawing& drawn);
// The first of those checks, the one of the outlet alone: a diameter no die can be made at,
// whatever its blank and profile.
Expected<void> CheckOutlet(const CalculatedDrawing& drawn);

} // namespace dieprofile

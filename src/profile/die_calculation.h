// The one Calculate of a die: from what was typed and chosen (the unit, the blank, the text of
// every field) to the calculated drawing (the profile, its scene and frame, the two results), or
// the refusal in the window's own words. It is pure: it touches no window, writes nothing and
// shows nothing. The window's Calculate button runs it and commits the result; the die set's
// passes, their sheets, and every other reader of a die's drawing call it directly.
//
//   Expected<Calculation, CalculateRefusal> done = Calculate(typed);
//   if (!done) { done.Error().Message; /* "Reduction Angle must be a number." */ }
//   else { done->Drawing; /* profile, scene, frame, results */ done->BellContact; }
#pragma once

#include "core/expected.h"
#include "core/profile_state.h"
#include "core/units.h"
#include "profile/calculated_drawing.h"
#include "profile/drawing_scene.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace dieprofile {

// The inputs of one Calculate as the window reads them: the unit, the blank row's text, and the
// text of every field by its Text1 index, a catalogue blank's own dimensions in its two diamond
// fields.
struct TypedDie {
    double UnitDivisor = kInchUnitDivisor;
    std::string Blank;
    std::array<std::string, 11> FieldTexts; // element 9 is never used
};

// What a Calculate draws over: the profile's fixed references and the drawing before it. The wire
// entering a bore whose bell and cone it does not meet keeps the height it had, so the window
// calculates over its own last drawing; a die on its own over a window just loaded.
struct CalculationStart {
    ProfileState State;
    DrawingScene Scene;
};
// The start of a window just loaded: the axis and base line of its blank, the unit inches.
CalculationStart LoadedStart();
// Sets the profile's fixed references (the unit inches, the axis, the base line, pi) from the
// blank as the window first draws it.
void SetLoadedReferences(ProfileState& state, const DrawingScene& scene);

// Why a Calculate refused, in the words of the window's message box, and the field the window
// then gives the focus (a Text1 index), if any.
struct CalculateRefusal {
    std::string Message;
    std::optional<int> Field;
    bool operator==(const CalculateRefusal&) const = default;
};

struct Calculation {
    CalculatedDrawing Drawing;
    // The entering wire rests on the bell: the window warns (kBellContactWarning) and draws.
    bool BellContact = false;
};

inline constexpr std::string_view kBellContactWarning =
    "Warning - the entering wire is contacting the Bell area.";

// Reads the fields in the window's order and calculates; the first field that is not a number,
// or a profile that cannot be calculated, is refused.
Expected<Calculation, CalculateRefusal> Calculate(const TypedDie& die,
                                                  const CalculationStart& start = LoadedStart());

} // namespace dieprofile

// The stages of Calculate, each a small function over a working copy of the profile state and the
// drawing. Calculate runs them in this order: blank outline height, exiting wire, bore, entering
// wire with the bell-contact check, top face, dimension annotation, results. Every formula is
// double precision in the order written; every coordinate is rounded to float as it is stored,
// and a coordinate read back is that float.
#pragma once

#include "core/profile_state.h"
#include "profile/drawing_scene.h"

#include <string>

namespace dieprofile {

// The tip-to-tail length of an arrowhead along its dimension line, twips.
inline constexpr float ArrowOffset = 120.0f;

// Moves the blank's top face to the diamond height above the fixed bottom face.
void SetBlankOutlineHeight(const ProfileState& state, DrawingScene& scene);
// The exiting wire through the bearing, with its diameter ticks.
void PlaceExitingWire(const ProfileState& state, DrawingScene& scene);
// Bottom face inner ends, back relief, reduction cone and entrance bell.
void PlaceBore(const ProfileState& state, DrawingScene& scene);

struct EnteringWirePlacement {
    bool BellContact = false; // the wire's edge rests on the entrance bell: the user is warned
};
// The entering wire and its ticks; its lower end rests where its edge meets the bell or the
// reduction cone, or keeps the previous height where it meets neither.
EnteringWirePlacement PlaceEnteringWire(const ProfileState& state, DrawingScene& scene);
// The top face's inner ends, at the entering wire's edges.
void PlaceTopFace(const ProfileState& state, DrawingScene& scene);
// The nine value labels, then every dimension, extension line, arrowhead and leader.
void AnnotateDimensions(const ProfileState& state, DrawingScene& scene);

struct ResultTexts {
    std::string DeltaValue;    // for Text3
    std::string AreaReduction; // for Text2
    bool Valid = false;        // false when a result is not a finite number
};
// The delta value of the pass, sin(half the reduction angle) × (incoming + outlet) / (incoming −
// outlet), before it is rounded for its field.
double DeltaValueOf(const ProfileState& state);
// The delta value and the area reduction, each passed through its field's text as the fields
// show them.
ResultTexts ComputeResults(const ProfileState& state);

// True when every number of the state and every coordinate of the drawing is finite, and every
// value label shows a number.
bool IsFinite(const ProfileState& state, const DrawingScene& scene);

} // namespace dieprofile

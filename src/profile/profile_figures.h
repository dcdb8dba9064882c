// Figures a die maker reads off a finished profile beside the drawing: the elongation of the pass
// and where the entering wire first meets the bore. Both come from the profile and the drawing of
// the same Calculate.
#pragma once

#include "core/profile_state.h"
#include "profile/die_section.h"
#include "profile/drawing_scene.h"

namespace dieprofile {

// Where the entering wire's edge meets the bore, by the same tests Calculate places it with.
enum class WireContact {
    ReductionCone,  // the intended working zone
    Bell,           // the user was warned: the wire rests on the entrance bell
    WiderThanMouth, // no contact: the wire's lower end is one of an earlier Calculate
    None,           // narrower than the bearing: it meets neither bell nor cone
};

struct MeetingPoint {
    WireContact Contact = WireContact::None;
    // From the wire's lower end down to the start of the bearing, in the drawing's unit.
    double AboveBearing = 0;
    // That as a per cent of the reduction zone's height (bell junction to start of the bearing).
    double PercentOfReduction = 0;
};

struct ProfileFigures {
    double EntranceLength = 0;
    double ReductionLength = 0;
    double BearingLength = 0;
    double ExitLength = 0;
    double Elongation = 0; // per cent
    MeetingPoint Meeting;
};

// 100 × ((incoming / outlet)² − 1): how much longer the wire leaves than it came in.
double ElongationPercent(double incomingDiameter, double outletDiameter);

// The meeting point as the drawing shows it, measured on the right-hand wire edge and bore wall.
MeetingPoint MeetingPointOf(const SectionFrame& frame, const DrawingScene& scene);

// The figures of a profile and its drawing, made by the same Calculate.
ProfileFigures FiguresOf(const ProfileState& calculated, const SectionFrame& frame,
                         const DrawingScene& scene);

} // namespace dieprofile

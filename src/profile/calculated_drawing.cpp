// Whether a calculated profile can be made: every figure finite, the bore inside the blank, and
// each zone of the wall below the one above it.
#include "profile/calculated_drawing.h"

#include "profile/profile_figures.h"

#include <algorithm>
#include <cmath>

namespace dieprofile {

namespace {

bool Finite(const ProfileState& state) {
    for (const ProfileStateMember& member : ProfileStateMembers()) {
        if (const auto* number = std::get_if<double ProfileState::*>(&member.Member);
            number != nullptr && !std::isfinite(state.**number)) {
            return false;
        }
    }
    return true;
}

bool Finite(const BoreWall& wall, const ProfileFigures& figures) {
    const bool pointsFinite = std::all_of(wall.begin(), wall.end(), [](Point point) {
        return std::isfinite(point.X) && std::isfinite(point.Y);
    });
    return pointsFinite && std::isfinite(figures.EntranceLength) &&
           std::isfinite(figures.ReductionLength) && std::isfinite(figures.BearingLength) &&
           std::isfinite(figures.ExitLength) && std::isfinite(figures.Meeting.AboveBearing);
}

// What a zone of no height, or one standing above the zone over it, is called: bell, cone,
// bearing, back relief, from the mouth down.
std::string ZoneFault(std::size_t zone, const ProfileState& profile, double height) {
    switch (zone) {
    case 0:
        return "the entrance bell has no length";
    case 1:
        return profile.EntranceLength + profile.ExitLength >= height
                   ? "the entrance and exit zones overlap"
                   : "the bearing leaves no room for the reduction cone";
    case 2:
        return "the bearing has no length";
    default:
        return "the back relief has no length";
    }
}

} // namespace

Expected<void> CheckOutlet(const CalculatedDrawing& drawn) {
    const ProfileFigures figures = FiguresOf(drawn.Profile, drawn.Frame, drawn.Scene);
    // An outlet of nothing, or so little that the elongation overflows, has no bearing to make.
    if (!(drawn.Profile.OutletDiameter > 0) || !std::isfinite(figures.Elongation)) {
        return Refusal{"the outlet is too small to be made"};
    }
    return Done{};
}

Expected<void> CheckProfile(const CalculatedDrawing& drawn) {
    const DrawingScene& scene = drawn.Scene;
    const ProfileState& profile = drawn.Profile;
    const BoreWall wall = BoreWallOf(drawn.Frame, scene, BoreSide::Right);
    const ProfileFigures figures = FiguresOf(profile, drawn.Frame, scene);
    if (Expected<void> outlet = CheckOutlet(drawn); !outlet) {
        return outlet;
    }
    if (!Finite(profile) || !Finite(wall, figures)) {
        return Refusal{"a figure of the profile is not a finite number"};
    }
    // The blank as drawn: its right-hand side and its two faces.
    const SectionLine side = ToSection(drawn.Frame, scene.LineDieRight);
    const double blankRadius = std::max(side.Start.X, side.End.X);
    const double top = std::max(side.Start.Y, side.End.Y);
    const double bottom = std::min(side.Start.Y, side.End.Y);
    if (std::any_of(wall.begin(), wall.end(),
                    [&](Point point) { return std::abs(point.X) > blankRadius; })) {
        return Refusal{"the bore is wider than the blank"};
    }
    if (profile.IncomingDiameter / 2 > blankRadius) {
        return Refusal{"the incoming wire is wider than the blank"};
    }
    // Down the wall from the mouth, each zone ends below where it starts.
    for (std::size_t zone = 0; zone + 1 < wall.size(); ++zone) {
        if (!(wall[zone].Y > wall[zone + 1].Y)) {
            return Refusal{ZoneFault(zone, profile, profile.DiamondHeight)};
        }
    }
    if (wall.front().Y > top || wall.back().Y < bottom) {
        return Refusal{"the bore runs out through the blank's faces"};
    }
    // From the mouth to the bearing the bore only narrows.
    if (wall[1].X > wall[0].X) {
        return Refusal{"the entrance bell is narrower than the reduction cone"};
    }
    if (wall[2].X > wall[1].X) {
        return Refusal{"the reduction cone is narrower than the bearing"};
    }
    return Done{};
}

} // namespace dieprofile

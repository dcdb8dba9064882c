// The die's section in true units, read off the drawing: what is exported is what is drawn. A
// point of the drawing (panel twips, y down) becomes a length in the unit of the drawing's scale,
// y up, with the origin on the die's axis at the bottom face.
#pragma once

#include "core/geometry.h"
#include "core/profile_state.h"
#include "profile/drawing_scene.h"

#include <array>

namespace dieprofile {

struct SectionLine {
    Point Start;
    Point End;
};

// Where the drawing's axis and bottom face are, and its twips per unit of length.
struct SectionFrame {
    double CentreX = 0;
    double BaseY = 0;
    double DrawScale = 1;
    bool operator==(const SectionFrame&) const = default;
};

// The frame of a drawing made with this state: its axis, base line and scale.
SectionFrame FrameOf(const ProfileState& state);

Point ToSection(const SectionFrame& frame, double x, double y);
SectionLine ToSection(const SectionFrame& frame, const Segment& segment);

enum class BoreSide { Left, Right };

// One wall of the bore as one connected chain, from the bell's mouth down through the bell, the
// reduction cone, the bearing and the back relief to the exit opening in the bottom face:
// mouth, bell/cone junction, start of the bearing, end of the bearing, exit opening.
using BoreWall = std::array<Point, 5>;
BoreWall BoreWallOf(const SectionFrame& frame, const DrawingScene& scene, BoreSide side);

} // namespace dieprofile

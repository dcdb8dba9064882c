// Whether a worked profile can be shown: every number finite and every value label a number.
#include "core/number_text.h"
#include "profile/calculation_stages.h"

#include <cmath>

namespace dieprofile {

bool IsFinite(const ProfileState& state, const DrawingScene& scene) {
    for (const ProfileStateMember& member : ProfileStateMembers()) {
        if (const auto* field = std::get_if<double ProfileState::*>(&member.Member)) {
            if (!std::isfinite(state.*(*field))) {
                return false;
            }
        }
    }
    for (const SegmentDesign& design : SceneSegments()) {
        const Segment& segment = scene.*design.Member;
        if (!std::isfinite(segment.X1) || !std::isfinite(segment.Y1) ||
            !std::isfinite(segment.X2) || !std::isfinite(segment.Y2)) {
            return false;
        }
    }
    // A label's value is a length divided by the drawing scale, and can overflow where every
    // coordinate is finite; its caption then reads "inf" instead of a number.
    for (const LabelDesign& design : SceneLabels()) {
        if (IsNonFiniteText((scene.*design.Member).Caption)) {
            return false;
        }
    }
    return true;
}

} // namespace dieprofile

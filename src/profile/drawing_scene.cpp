#include "profile/drawing_scene.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace dieprofile {

namespace {

constexpr std::array<SegmentDesign, kSegmentCount> kSegments{{
    {"LineDieLeft",
     &DrawingScene::LineDieLeft,
     {1560, 3480, 1560, 7320},
     2,
     LineStyle::Solid,
     true},
    {"LineDieRight",
     &DrawingScene::LineDieRight,
     {6240, 3480, 6240, 7320},
     2,
     LineStyle::Solid,
     true},
    {"LineDieTopLeft",
     &DrawingScene::LineDieTopLeft,
     {1560, 3480, 3240, 3480},
     2,
     LineStyle::Solid,
     true},
    {"LineDieTopRight",
     &DrawingScene::LineDieTopRight,
     {4560, 3480, 6240, 3480},
     2,
     LineStyle::Solid,
     true},
    {"LineDieBottomLeft",
     &DrawingScene::LineDieBottomLeft,
     {1560, 7320, 3360, 7320},
     2,
     LineStyle::Solid,
     true},
    {"LineDieBottomRight",
     &DrawingScene::LineDieBottomRight,
     {4440, 7320, 6240, 7320},
     2,
     LineStyle::Solid,
     true},
    {"LineDieBellLeft",
     &DrawingScene::LineDieBellLeft,
     {2280, 3480, 3000, 4680},
     2,
     LineStyle::Solid,
     true},
    {"LineDieBellRight",
     &DrawingScene::LineDieBellRight,
     {5520, 3480, 4800, 4680},
     2,
     LineStyle::Solid,
     true},
    {"LineDieReductionLeft",
     &DrawingScene::LineDieReductionLeft,
     {3000, 4680, 3360, 5760},
     2,
     LineStyle::Solid,
     true},
    {"LineDieReductionRight",
     &DrawingScene::LineDieReductionRight,
     {4800, 4680, 4440, 5760},
     2,
     LineStyle::Solid,
     true},
    {"LineDieBackLeft",
     &DrawingScene::LineDieBackLeft,
     {3360, 6720, 2880, 7320},
     2,
     LineStyle::Solid,
     true},
    {"LineDieBackRight",
     &DrawingScene::LineDieBackRight,
     {4440, 6720, 4920, 7320},
     2,
     LineStyle::Solid,
     true},
    {"LineEnterWireLeft",
     &DrawingScene::LineEnterWireLeft,
     {3240, 5400, 3240, 960},
     2,
     LineStyle::Solid,
     true},
    {"LineEnterWireRight",
     &DrawingScene::LineEnterWireRight,
     {4560, 5400, 4560, 960},
     2,
     LineStyle::Solid,
     true},
    {"LineEnterWireTop",
     &DrawingScene::LineEnterWireTop,
     {3240, 960, 4560, 960},
     2,
     LineStyle::Solid,
     true},
    {"LineExitWireLeft",
     &DrawingScene::LineExitWireLeft,
     {3360, 5760, 3360, 7680},
     2,
     LineStyle::Solid,
     true},
    {"LineExitWireRight",
     &DrawingScene::LineExitWireRight,
     {4440, 5760, 4440, 7680},
     2,
     LineStyle::Solid,
     true},
    {"LineExitWireBottom",
     &DrawingScene::LineExitWireBottom,
     {3360, 7680, 4440, 7680},
     2,
     LineStyle::Solid,
     true},
    {"Line22", &DrawingScene::Line22, {3240, 720, 3240, 960}, 1, LineStyle::Solid, true},
    {"Line21", &DrawingScene::Line21, {4560, 720, 4560, 960}, 1, LineStyle::Solid, true},
    {"Line19", &DrawingScene::Line19, {3360, 7920, 3360, 7680}, 1, LineStyle::Solid, true},
    {"Line18", &DrawingScene::Line18, {4440, 7920, 4440, 7680}, 1, LineStyle::Solid, true},
    {"Line15", &DrawingScene::Line15, {1560, 3480, 1200, 3480}, 1, LineStyle::Solid, true},
    {"Line14", &DrawingScene::Line14, {1200, 7320, 1560, 7320}, 1, LineStyle::Solid, false},
    {"Line70", &DrawingScene::Line70, {1320, 3480, 1320, 7320}, 1, LineStyle::Dotted, true},
    {"Line78", &DrawingScene::Line78, {1440, 3360, 1320, 3480}, 1, LineStyle::Solid, true},
    {"Line79", &DrawingScene::Line79, {1200, 3360, 1320, 3480}, 1, LineStyle::Solid, true},
    {"Line16", &DrawingScene::Line16, {1320, 3480, 1320, 2280}, 1, LineStyle::Solid, true},
    {"Line17", &DrawingScene::Line17, {1080, 2280, 1320, 2280}, 1, LineStyle::Solid, false},
    {"Line93", &DrawingScene::Line93, {1560, 7320, 1560, 8520}, 1, LineStyle::Solid, false},
    {"Line72", &DrawingScene::Line72, {6240, 7320, 6240, 8520}, 1, LineStyle::Solid, false},
    {"Line71", &DrawingScene::Line71, {6240, 8400, 1560, 8400}, 1, LineStyle::Dotted, false},
    {"Line74", &DrawingScene::Line74, {1440, 8280, 1560, 8400}, 1, LineStyle::Solid, false},
    {"Line75", &DrawingScene::Line75, {1440, 8520, 1560, 8400}, 1, LineStyle::Solid, false},
    {"Line11", &DrawingScene::Line11, {1080, 8400, 1560, 8400}, 1, LineStyle::Solid, false},
    {"Line33", &DrawingScene::Line33, {6240, 3480, 6600, 3480}, 1, LineStyle::Solid, true},
    {"Line52", &DrawingScene::Line52, {6960, 4680, 4800, 4680}, 1, LineStyle::Dashed, true},
    {"Line53", &DrawingScene::Line53, {7320, 5400, 4560, 5400}, 1, LineStyle::Dashed, true},
    {"Line56", &DrawingScene::Line56, {7320, 5760, 4440, 5760}, 1, LineStyle::Dashed, true},
    {"Line57", &DrawingScene::Line57, {7080, 6720, 4440, 6720}, 1, LineStyle::Dashed, true},
    {"Line38", &DrawingScene::Line38, {6240, 7320, 6720, 7320}, 1, LineStyle::Solid, false},
    {"Line39", &DrawingScene::Line39, {6480, 3480, 6480, 4680}, 1, LineStyle::Dotted, true},
    {"Line42", &DrawingScene::Line42, {6600, 3360, 6480, 3480}, 1, LineStyle::Solid, true},
    {"Line43", &DrawingScene::Line43, {6360, 3360, 6480, 3480}, 1, LineStyle::Solid, true},
    {"Line5", &DrawingScene::Line5, {6480, 3480, 6480, 2400}, 1, LineStyle::Solid, true},
    {"Line54", &DrawingScene::Line54, {6840, 5400, 6840, 4680}, 1, LineStyle::Dotted, true},
    {"Line44", &DrawingScene::Line44, {6960, 4560, 6840, 4680}, 1, LineStyle::Solid, true},
    {"Line45", &DrawingScene::Line45, {6720, 4560, 6840, 4680}, 1, LineStyle::Solid, true},
    {"Line6", &DrawingScene::Line6, {6840, 4680, 6840, 2040}, 1, LineStyle::Solid, true},
    {"Line4", &DrawingScene::Line4, {7200, 5760, 7200, 5400}, 1, LineStyle::Dotted, true},
    {"Line48", &DrawingScene::Line48, {7200, 5400, 7320, 5280}, 1, LineStyle::Solid, true},
    {"Line49", &DrawingScene::Line49, {7200, 5400, 7080, 5280}, 1, LineStyle::Solid, true},
    {"Line7", &DrawingScene::Line7, {7200, 5400, 7200, 1680}, 1, LineStyle::Solid, true},
    {"Line62", &DrawingScene::Line62, {6960, 5760, 6960, 6720}, 1, LineStyle::Dotted, true},
    {"Line58", &DrawingScene::Line58, {6840, 6840, 6960, 6720}, 1, LineStyle::Solid, true},
    {"Line59", &DrawingScene::Line59, {7080, 6840, 6960, 6720}, 1, LineStyle::Solid, true},
    {"Line8", &DrawingScene::Line8, {6960, 8280, 6960, 6720}, 1, LineStyle::Solid, true},
    {"Line63", &DrawingScene::Line63, {6600, 6720, 6600, 7320}, 1, LineStyle::Dotted, true},
    {"Line64", &DrawingScene::Line64, {6600, 7320, 6480, 7440}, 1, LineStyle::Solid, false},
    {"Line65", &DrawingScene::Line65, {6720, 7440, 6600, 7320}, 1, LineStyle::Solid, false},
    {"Line9", &DrawingScene::Line9, {6600, 7800, 6600, 7320}, 1, LineStyle::Solid, false},
}};

constexpr std::array<LabelDesign, kValueLabelCount> kLabels{{
    {"Label2", &DrawingScene::Label2, 3600, 8040, 615, 255, LabelAlignment::Centre},
    {"Label3", &DrawingScene::Label3, 3600, 480, 735, 255, LabelAlignment::Centre},
    {"Label4", &DrawingScene::Label4, 6120, 2160, 615, 255, LabelAlignment::Centre},
    {"Label5", &DrawingScene::Label5, 6480, 1800, 615, 255, LabelAlignment::Centre},
    {"Label6", &DrawingScene::Label6, 6960, 1440, 495, 255, LabelAlignment::Centre},
    {"Label7", &DrawingScene::Label7, 6600, 8280, 615, 255, LabelAlignment::Centre},
    {"Label8", &DrawingScene::Label8, 6360, 7800, 495, 255, LabelAlignment::Centre},
    {"Label9", &DrawingScene::Label9, 360, 2160, 615, 255, LabelAlignment::Right},
    {"Label10", &DrawingScene::Label10, 360, 8280, 615, 255, LabelAlignment::Right},
}};

} // namespace

DrawingScene::DrawingScene() {
    for (const SegmentDesign& design : kSegments) {
        this->*design.Member = design.Ends;
    }
}

const std::array<SegmentDesign, kSegmentCount>& SceneSegments() {
    return kSegments;
}

const std::array<LabelDesign, kValueLabelCount>& SceneLabels() {
    return kLabels;
}

float ToSingle(double value) {
    if (std::isnan(value)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    // The midpoint between FLT_MAX and 2^128 rounds to infinity (ties to even).
    constexpr double kOverflow = 0x1.ffffffp127;
    if (std::fabs(value) >= kOverflow) {
        return std::copysign(std::numeric_limits<float>::infinity(),
                             static_cast<float>(value > 0 ? 1 : -1));
    }
    return static_cast<float>(value);
}

double DrawScaleFor(const DrawingScene& scene, double diamondDiameter) {
    const double span =
        static_cast<double>(scene.LineDieBottomRight.X2) - scene.LineDieBottomLeft.X1;
    return span / diamondDiameter;
}

} // namespace dieprofile

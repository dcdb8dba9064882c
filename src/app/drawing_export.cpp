#include "app/drawing_export.h"

#include "app/form_design.h"
#include "core/units.h"
#include "profile/profile_figures.h"

#include <cmath>

namespace dieprofile {

namespace {

// A drawn text's height: the cap height of the window's 8.25-point labels, in twips.
constexpr double kLabelTextTwips = 120;
// From a label's top edge down to the baseline of its one line of text, in twips.
constexpr double kLabelBaselineTwips = 180;

void AddLine(DxfDocument& document, std::string_view layer, Point start, Point end) {
    document.Lines.push_back({std::string(layer), start, end});
}

void AddSegment(DxfDocument& document, std::string_view layer, const SectionFrame& frame,
                const Segment& segment) {
    const SectionLine line = ToSection(frame, segment);
    AddLine(document, layer, line.Start, line.End);
}

void AddChain(DxfDocument& document, std::string_view layer, const BoreWall& wall) {
    DxfPolyline chain{std::string(layer), {}, false};
    for (const auto& p : wall) {
        chain.Vertices.push_back(p);
    }
    document.Polylines.push_back(std::move(chain));
}

// The layer a kind of line goes on. The blank and the bore are drawn as the closed section from
// the walls' chains rather than segment by segment.
std::string_view LayerOf(SegmentRole role) {
    switch (role) {
    case SegmentRole::BlankOutline:
    case SegmentRole::BoreWall:
        return kLayerSection;
    case SegmentRole::Wire:
        return kLayerWires;
    case SegmentRole::Dimension:
        return kLayerDimensions;
    case SegmentRole::Axis:
        break;
    }
    return kLayerAxis;
}

// The profile's outline for CAM: from the axis at the top face across to the mouth, down the wall
// to the exit opening, and back to the axis at the bottom face, where it closes.
void AddHalfProfile(DxfDocument& document, const BoreWall& wall) {
    DxfPolyline outline{std::string(kLayerBoreProfile), {{0, wall.front().Y}}, true};
    for (const auto& p : wall) {
        outline.Vertices.push_back(p);
    }
    outline.Vertices.push_back({0, wall.back().Y});
    document.Polylines.push_back(std::move(outline));
}

// The whole section: the wall for CAM once, the other wall and the blank's outline, the wires,
// the dimensions with their values, and the axis.
void AddSection(DxfDocument& document, const CalculatedDrawing& drawn, const DrawingScene& scene,
                std::string_view designName, const BoreWall& right) {
    const SectionFrame& frame = drawn.Frame;
    const double height = drawn.Profile.DiamondHeight;
    // The machine shop's profile: one wall, mouth to exit, as one connected chain. It is drawn
    // nowhere else, so a CAM program cannot cut it twice.
    AddChain(document, kLayerBoreProfile, right);

    // The rest of the section: the other wall and the blank's outline, the top face to the bell's
    // mouth and the bottom face to the exit opening, so the outline closes on the bore.
    const BoreWall left = BoreWallOf(frame, scene, BoreSide::Left);
    AddChain(document, kLayerSection, left);
    const SectionLine outerLeft = ToSection(frame, scene.LineDieLeft);
    const SectionLine outerRight = ToSection(frame, scene.LineDieRight);
    AddLine(document, kLayerSection, outerLeft.Start, outerLeft.End);
    AddLine(document, kLayerSection, outerRight.Start, outerRight.End);
    AddLine(document, kLayerSection,
            ToSection(frame, scene.LineDieTopLeft.X1, scene.LineDieTopLeft.Y1), left[0]);
    AddLine(document, kLayerSection, right[0],
            ToSection(frame, scene.LineDieTopRight.X2, scene.LineDieTopRight.Y2));
    AddLine(document, kLayerSection,
            ToSection(frame, scene.LineDieBottomLeft.X1, scene.LineDieBottomLeft.Y1), left[4]);
    AddLine(document, kLayerSection, right[4],
            ToSection(frame, scene.LineDieBottomRight.X2, scene.LineDieBottomRight.Y2));

    for (const SegmentDesign& design : SceneSegments()) {
        if (LayerOf(design.Role) != kLayerSection) { // the section is drawn above
            AddSegment(document, LayerOf(design.Role), frame, scene.*design.Member);
        }
    }

    const double textHeight = kLabelTextTwips / frame.DrawScale;
    for (const LabelDesign& label : SceneLabels()) {
        const double x = label.Alignment == LabelAlignment::Right ? label.Left + label.Width
                         : label.Alignment == LabelAlignment::Centre
                             ? label.Left + label.Width / 2.0
                             : label.Left;
        const DxfTextAlignment alignment =
            label.Alignment == LabelAlignment::Right    ? DxfTextAlignment::Right
            : label.Alignment == LabelAlignment::Centre ? DxfTextAlignment::Centre
                                                        : DxfTextAlignment::Left;
        document.Texts.push_back({std::string(kLayerDimensions),
                                  ToSection(frame, x, label.Top + kLabelBaselineTwips), textHeight,
                                  alignment, (scene.*label.Member).Caption});
    }
    // The unit, where a reader of the drawing sees it: below the blank's diameter.
    document.Texts.push_back({std::string(kLayerDimensions),
                              {0, -height / 2},
                              textHeight,
                              DxfTextAlignment::Centre,
                              "UNITS: " + std::string(UnitName(drawn.UnitDivisor))});
    // Which design this is, below the unit, for whoever opens the file without its name.
    if (!designName.empty()) {
        document.Texts.push_back({std::string(kLayerDimensions),
                                  {0, -height / 2 - 2 * textHeight},
                                  textHeight,
                                  DxfTextAlignment::Centre,
                                  "DESIGN: " + std::string(designName)});
    }

    // The axis, a little beyond the die at both ends.
    AddLine(document, LayerOf(SegmentRole::Axis), {0, -height / 8}, {0, height * 9 / 8});
}

// Turns the drawing a quarter turn anticlockwise about the origin: the axis then runs along x,
// the entry face on the left, the exit face through the origin, the wall for CAM above the axis.
// Texts turn with it, so every value stays beside its dimension line.
void TurnAxisHorizontal(DxfDocument& document) {
    // 0 - y rather than -y: a point on the axis keeps +0, not -0.
    const auto turn = [](Point& p) { p = {0.0 - p.Y, p.X}; };
    for (DxfLine& line : document.Lines) {
        turn(line.Start);
        turn(line.End);
    }
    for (DxfPolyline& polyline : document.Polylines) {
        for (Point& vertex : polyline.Vertices) {
            turn(vertex);
        }
    }
    for (DxfText& text : document.Texts) {
        turn(text.At);
        text.RotationDeg += 90;
    }
}

} // namespace

std::optional<DxfProfile> DxfProfileNamed(std::string_view word) {
    if (word == "section") {
        return DxfProfile::Section;
    }
    if (word == "half") {
        return DxfProfile::Half;
    }
    return std::nullopt;
}

std::optional<DxfAxis> DxfAxisNamed(std::string_view word) {
    if (word == "vertical") {
        return DxfAxis::Vertical;
    }
    if (word == "horizontal") {
        return DxfAxis::Horizontal;
    }
    return std::nullopt;
}

DxfDocument DxfDocumentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                          std::string_view designName, const DxfExportOptions& options) {
    const bool inches = drawn.UnitDivisor == kInchUnitDivisor;
    const bool horizontal = options.Axis == DxfAxis::Horizontal;
    const bool half = options.Profile == DxfProfile::Half;
    const double height = drawn.Profile.DiamondHeight;
    DxfDocument document;
    document.Unit = inches ? DxfUnit::Inches : DxfUnit::Millimetres;
    document.Comments = {
        std::string(half ? "Die Profile: half profile of a wire-drawing die's bore, design "
                         : "Die Profile: section of a wire-drawing die, design ") +
            std::string(designName),
        "Units: " + std::string(UnitName(drawn.UnitDivisor)) +
            (horizontal ? "; axis along x, the wire entering from the left; origin on the die's "
                          "axis at the exit face"
                        : "; y up; origin on the die's axis at the bottom face"),
    };
    const BoreWall right = BoreWallOf(drawn.Frame, scene, BoreSide::Right);
    if (half) {
        document.Layers = {{std::string(kLayerBoreProfile), 1, "CONTINUOUS"}};
        AddHalfProfile(document, right);
    } else {
        // A centre line's long dash, gap and short dash in proportion to the die.
        document.Linetypes.push_back({"CENTER",
                                      "Center ____ _ ____ _",
                                      {height / 4, -height / 24, height / 12, -height / 24}});
        document.Layers = {
            {std::string(kLayerBoreProfile), 1, "CONTINUOUS"},
            {std::string(kLayerSection), 7, "CONTINUOUS"},
            {std::string(kLayerWires), 5, "CONTINUOUS"},
            {std::string(kLayerDimensions), 3, "CONTINUOUS"},
            {std::string(kLayerAxis), 4, "CENTER"},
        };
        AddSection(document, drawn, scene, designName, right);
    }
    if (horizontal) {
        TurnAxisHorizontal(document);
    }
    return document;
}

TitleBlockContent TitleBlockOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                               std::string_view designName, std::string scale, std::string date) {
    TitleBlockContent content;
    content.DesignName = designName;
    content.Blank = drawn.Blank;
    // In the order the window lists them, top to bottom.
    for (const int index : {5, 10, 0, 1, 2, 3, 4, 8, 6, 7}) {
        const bool isLength = index == 5 || index == 10 || index == 0 || index == 1;
        content.Inputs.push_back({std::string(Text1Caption(index)),
                                  drawn.FieldTexts[static_cast<std::size_t>(index)], isLength});
    }
    content.Figures = FiguresOf(drawn.Profile, drawn.Frame, scene);
    content.DeltaValue = drawn.DeltaValue;
    content.AreaReduction = drawn.AreaReduction;
    content.UnitDivisor = drawn.UnitDivisor;
    content.Scale = std::move(scale);
    content.Date = std::move(date);
    return content;
}

} // namespace dieprofile

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

void AddLine(DxfDocument& document, std::string_view layer, SectionPoint start, SectionPoint end) {
    document.Lines.push_back({std::string(layer), start, end});
}

void AddSegment(DxfDocument& document, std::string_view layer, const SectionFrame& frame,
                const Segment& segment) {
    const SectionLine line = ToSection(frame, segment);
    AddLine(document, layer, line.Start, line.End);
}

void AddChain(DxfDocument& document, std::string_view layer, const BoreWall& wall) {
    for (std::size_t i = 0; i + 1 < wall.size(); ++i) {
        AddLine(document, layer, wall[i], wall[i + 1]);
    }
}

bool IsSegmentOf(std::string_view name, std::string_view prefix) {
    return name.substr(0, prefix.size()) == prefix;
}

} // namespace

DxfDocument DxfDocumentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                          std::string_view designName) {
    const SectionFrame& frame = drawn.Frame;
    const bool inches = drawn.UnitDivisor == kInchUnitDivisor;
    const double height = drawn.Profile.DiamondHeight;
    DxfDocument document;
    document.Unit = inches ? DxfUnit::Inches : DxfUnit::Millimetres;
    document.Comments = {
        "Die Profile: section of a wire-drawing die, design " + std::string(designName),
        "Units: " + std::string(UnitName(drawn.UnitDivisor)) +
            "; y up; origin on the die's axis at the bottom face",
    };
    // A centre line's long dash, gap and short dash in proportion to the die.
    document.Linetypes.push_back(
        {"CENTER", "Center ____ _ ____ _", {height / 4, -height / 24, height / 12, -height / 24}});
    document.Layers = {
        {std::string(kLayerBoreProfile), 1, "CONTINUOUS"},
        {std::string(kLayerSection), 7, "CONTINUOUS"},
        {std::string(kLayerWires), 5, "CONTINUOUS"},
        {std::string(kLayerDimensions), 3, "CONTINUOUS"},
        {std::string(kLayerAxis), 4, "CENTER"},
    };

    const BoreWall right = BoreWallOf(frame, scene, BoreSide::Right);
    const BoreWall left = BoreWallOf(frame, scene, BoreSide::Left);
    // The machine shop's profile: one wall, mouth to exit, as one connected chain.
    AddChain(document, kLayerBoreProfile, right);

    // The full section: both walls and the blank's outline, the top face to the bell's mouth and
    // the bottom face to the exit opening, so the outline closes on the bore.
    AddChain(document, kLayerSection, left);
    AddChain(document, kLayerSection, right);
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
        if (IsSegmentOf(design.Name, "LineDie")) {
            continue; // the section above
        }
        const bool wire =
            IsSegmentOf(design.Name, "LineEnterWire") || IsSegmentOf(design.Name, "LineExitWire");
        AddSegment(document, wire ? kLayerWires : kLayerDimensions, frame, scene.*design.Member);
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

    // The axis, a little beyond the die at both ends.
    AddLine(document, kLayerAxis, {0, -height / 8}, {0, height * 9 / 8});
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

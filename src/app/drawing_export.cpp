#include "app/drawing_export.h"

#include "profile/form_design.h"
#include "core/units.h"
#include "output/sheet_layout.h"
#include "profile/profile_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace dieprofile {

namespace {

// A drawn text's height: the cap height of the window's 8.25-point labels, in twips.
constexpr double kLabelTextTwips = 120;

void AddLine(DxfDocument& document, std::string_view layer, Point start, Point end) {
    document.Lines.push_back({std::string(layer), start, end});
}

void AddChain(DxfDocument& document, std::string_view layer, const BoreWall& wall) {
    DxfPolyline chain{std::string(layer), {}, false};
    for (const auto& p : wall) {
        chain.Vertices.push_back(p);
    }
    document.Polylines.push_back(std::move(chain));
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

// The sheet's dimensions of the die in true units: its paper turned back into the die's lengths,
// lines as lines, arrowheads as filled solids, texts as texts. Returns the lowest height any of
// them reaches.
double AddDimensions(DxfDocument& document, const SheetSection& section, double mmPerUnit) {
    const Page paper = DieDimensions(section, mmPerUnit);
    const auto unpaper = [mmPerUnit](Point p) {
        return Point{p.X / mmPerUnit, 0.0 - p.Y / mmPerUnit};
    };
    double lowest = 0;
    const auto add = [&](Point p) {
        const Point at = unpaper(p);
        lowest = std::min(lowest, at.Y);
        return at;
    };
    const std::string layer(kLayerDimensions);
    for (const PageLine& line : paper.Lines) {
        const Point start = add(line.Start);
        AddLine(document, layer, start, add(line.End));
    }
    for (const PageOutline& outline : paper.Outlines) {
        DxfSolid solid{layer, {}};
        for (std::size_t i = 0; i < solid.Corners.size(); ++i) {
            solid.Corners[i] = add(outline.Corners[std::min(i, outline.Corners.size() - 1)]);
        }
        document.Solids.push_back(solid);
    }
    for (const PageText& text : paper.Texts) {
        const DxfTextAlignment alignment = text.Align == TextAlign::Right ? DxfTextAlignment::Right
                                           : text.Align == TextAlign::Centre
                                               ? DxfTextAlignment::Centre
                                               : DxfTextAlignment::Left;
        document.Texts.push_back(
            {layer, add(text.At), text.HeightMm / mmPerUnit, alignment, text.Text, text.AngleDeg});
    }
    return lowest;
}

// The whole section: the wall for CAM once, the other wall and the blank's outline, the wires a
// little beyond the die's faces, the dimensions as the sheet gives them, and the axis.
void AddSection(DxfDocument& document, const CalculatedDrawing& drawn, const DrawingScene& scene,
                const std::string& designLine, const BoreWall& right) {
    const SectionFrame& frame = drawn.Frame;
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

    // The drawing as if on paper with the window's lettering: the sheet's offsets, arrowheads and
    // stubs keep their proportion to the texts whatever the size of the die.
    const SheetSection s = SheetSectionOf(frame, scene, drawn.Profile, drawn.UnitDivisor);
    const double textHeight = kLabelTextTwips / frame.DrawScale;
    const double mmPerUnit = kSheetDimensionTextMm / textHeight;
    const double h = s.BlankHeight;
    const double stub = kSheetWireStubMm / mmPerUnit;

    // The wires as the sheet draws them: the entering one down to where it rests (on the top face
    // when it is wider than the mouth), the drawn one from the end of the bearing out of the die.
    const double rIn = s.IncomingDiameter / 2;
    const double rOut = s.OutletDiameter / 2;
    const double rests = rIn > s.Wall[0].X ? h : std::clamp(s.WireLowerEnd, 0.0, h);
    for (const double side : {-1.0, 1.0}) {
        AddLine(document, kLayerWires, {side * rIn, h + stub}, {side * rIn, rests});
        AddLine(document, kLayerWires, {side * rOut, s.Wall[3].Y}, {side * rOut, -stub});
    }

    const double lowest = AddDimensions(document, s, mmPerUnit);
    // The unit, where a reader of the drawing sees it: below the lowest dimension.
    document.Texts.push_back({std::string(kLayerDimensions),
                              {0, lowest - 2 * textHeight},
                              textHeight,
                              DxfTextAlignment::Centre,
                              "UNITS: " + std::string(UnitName(drawn.UnitDivisor))});
    // Which design this is, below the unit, for whoever opens the file without its name.
    if (!designLine.empty()) {
        document.Texts.push_back({std::string(kLayerDimensions),
                                  {0, lowest - 4 * textHeight},
                                  textHeight,
                                  DxfTextAlignment::Centre,
                                  "DESIGN: " + designLine});
    }

    // The axis, past the wires at both ends.
    const double axisBeyond = (kSheetWireStubMm + kSheetAxisBeyondMm) / mmPerUnit;
    AddLine(document, kLayerAxis, {0, -axisBeyond}, {0, h + axisBeyond});
}

// Turns a text upside down about the middle of its height, so that it reads the other way round
// from the same place: its baseline moves to where its top was, and its left end becomes its right.
void TurnTextOver(DxfText& text) {
    const double radians = text.RotationDeg * std::numbers::pi / 180;
    text.At = {text.At.X - std::sin(radians) * text.Height,
               text.At.Y + std::cos(radians) * text.Height};
    text.RotationDeg += 180;
    if (text.Alignment != DxfTextAlignment::Centre) {
        text.Alignment = text.Alignment == DxfTextAlignment::Left ? DxfTextAlignment::Right
                                                                  : DxfTextAlignment::Left;
    }
}

// Turns the drawing a quarter turn anticlockwise about the origin: the axis then runs along x,
// the entry face on the left, the exit face through the origin, the wall for CAM above the axis.
// Texts turn with it, so every value stays beside its dimension line; one that would then read
// from the top or the left is turned over, to read from the bottom or the right as a drafter
// writes it.
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
    for (DxfSolid& solid : document.Solids) {
        for (Point& corner : solid.Corners) {
            turn(corner);
        }
    }
    for (DxfText& text : document.Texts) {
        turn(text.At);
        text.RotationDeg = std::fmod(text.RotationDeg + 90, 360);
        if (text.RotationDeg > 90 && text.RotationDeg <= 270) {
            TurnTextOver(text);
        }
        text.RotationDeg = std::fmod(text.RotationDeg, 360);
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

std::string DesignLine(std::string_view designName, const DrawingIdentity& identity) {
    std::string line;
    const auto add = [&line](std::string_view separator, std::string_view part) {
        if (!part.empty()) {
            line += line.empty() ? std::string_view() : separator;
            line += part;
        }
    };
    add(" ", identity.Number);
    add(" ", identity.Title);
    if (!identity.Revision.empty()) {
        add(", ", "rev. " + identity.Revision);
    }
    if (!designName.empty()) {
        add(" ", line.empty() ? std::string(designName) : "(" + std::string(designName) + ")");
    }
    return line;
}

DxfDocument DxfDocumentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                          std::string_view designName, const DxfExportOptions& options,
                          const DrawingIdentity& identity) {
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
        AddSection(document, drawn, scene, DesignLine(designName, identity), right);
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

// The drawing sheet laid out on paper as a drafter would sign it: the die's half-section drawn at
// a true scale from the section's own numbers, with ISO line types, dimensions that read, and a
// title block naming who owns, drew and approved it. Free of any toolkit: one page painter draws
// the page on a PDF, an SVG or a printer.
#pragma once

#include "core/expected.h"
#include "output/design_file.h"
#include "output/page.h"
#include "output/paper.h"
#include "output/title_block.h"
#include "profile/die_section.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

// The die as the sheet draws it, in true units of the drawing's unit, y up, the origin on the
// axis at the bottom face: the same numbers the DXF is written from.
struct SheetSection {
    double UnitDivisor = 1;   // millimetres per unit of the numbers below
    double BlankDiameter = 0; // the blank's outside diameter
    double BlankHeight = 0;
    // The right-hand wall: mouth, bell/cone junction, start and end of the bearing, exit opening.
    std::array<Point, 5> Wall{};
    double IncomingDiameter = 0;
    double OutletDiameter = 0;
    double WireLowerEnd = 0;  // height of the entering wire's lower end
    double EntranceAngle = 0; // included angles, degrees
    double ReductionAngle = 0;
    double ExitAngle = 0;
};

SheetSection SheetSectionOf(const SectionFrame& frame, const DrawingScene& scene,
                            const ProfileState& calculated, double unitDivisor);

// The lettering of the sheet's dimensions (ISO 3098), on paper.
inline constexpr double kSheetDimensionTextMm = 3.5;
// How far the sheet runs the wires past the die's faces, and the axis past the wires, on paper.
inline constexpr double kSheetWireStubMm = 12;
inline constexpr double kSheetAxisBeyondMm = 3;

// The die's dimensions as the sheet gives them (the values with Ø and degrees, their lines,
// arrowheads and leaders), laid out at mmPerUnit paper millimetres per true unit with the die's
// axis at x 0 and its bottom face at y 0 of the paper: what a CAD drawing of the die carries.
Page DieDimensions(const SheetSection& section, double mmPerUnit);

// What the user keeps for every sheet (the Sheet Details dialog) and what belongs to the design.
struct SheetDetails {
    std::string Owner;
    std::string DrawnBy;
    std::string ApprovedBy;
    std::string GeneralTolerances;
    bool operator==(const SheetDetails&) const = default;
};

// The bearing's tolerance as its two deviations from the size, in the unit it was typed in.
struct BearingTolerance {
    double Upper = 0;
    double Lower = 0;
    double UnitDivisor = 1;
    bool operator==(const BearingTolerance&) const = default;
};

// Reads a tolerance as a die maker types it: "+0.0002/-0", "0.005/-0.002 mm", "±0.0001 in"
// (the upper deviation first; "-" or "−" for minus; the unit written or else the one given).
// Nothing for any other text, for an upper deviation below the lower, for two of nothing, or for
// deviations of 1000 units or more.
std::optional<BearingTolerance> ParseBearingTolerance(std::string_view text, double unitDivisor);

// Its deviations in a unit as ISO 129-1 writes them after a size: the upper and the lower with
// the same decimals (those of the unit's lengths, or more where they would round the deviation),
// a deviation of nothing as "0"; equal deviations as one "±" text and an empty second.
std::array<std::string, 2> DeviationTexts(const BearingTolerance& tolerance, double unitDivisor);

struct SheetContent {
    SheetSection Section;
    std::optional<BearingTolerance> Tolerance; // the bearing's, when the design gives one
    std::string Material;                      // the blank
    std::vector<TitleRow> Results; // the inputs as typed and the results, beside the title block
    SheetDetails Details;
    DrawingIdentity Identity; // the number is the design file's name when the design gives none
    std::string DateOfIssue;  // ISO 8601
    Paper Sheet = Paper::A4;
};

// A drawing scale of ISO 5455: paper length to true length as Paper : True.
struct SheetScale {
    int PaperPart = 1;
    int TruePart = 1;
    double Ratio() const { return static_cast<double>(PaperPart) / TruePart; }
    std::string Text() const; // "20:1", "1:5"
};

// The largest scale of the series 1:10 … 1000:1 not above the ratio; 1:10 below it (which
// CheckSheetFits refuses).
SheetScale ChooseSheetScale(double largestRatio);

// Whether this content can be laid out on its paper, or why not (a blank of one's own too large
// for the sheet at 1:10). LayOutSheet lays out only what this lets through.
Expected<void> CheckSheetFits(const SheetContent& content);

// A blank's size as the sheet states it: "Ø6.000 × 4.000 mm".
std::string BlankSize(double diameter, double height, double unitDivisor);

// The frame (ISO 5457) and the title block (ISO 7200) of a landscape sheet of the content's paper,
// with this document type and scale, laid on the page (its size set); where they stand.
struct SheetBorder {
    double Left = 0; // the frame
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    double TitleTop = 0; // the title block, in the frame's bottom-right corner
    double TitleLeft = 0;
};
SheetBorder LayOutSheetBorder(Page& page, const SheetContent& content,
                              std::string_view documentType, const std::string& scale);

// The landscape sheet.
Page LayOutSheet(const SheetContent& content);

// The scale LayOutSheet draws this content at.
SheetScale SheetScaleOf(const SheetContent& content);

} // namespace dieprofile

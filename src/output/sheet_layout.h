// The drawing sheet laid out on paper as a drafter would sign it: the die's half-section drawn at
// a true scale from the section's own numbers, with ISO line types, dimensions that read, and a
// title block naming who owns, drew and approved it. Free of any toolkit: one page painter draws
// the page on a PDF, an SVG or a printer.
#pragma once

#include "output/design_file.h"
#include "output/page.h"
#include "output/paper.h"
#include "output/title_block.h"
#include "profile/die_section.h"

#include <array>
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

// What the user keeps for every sheet (the Sheet Details dialog) and what belongs to the design.
struct SheetDetails {
    std::string Owner;
    std::string DrawnBy;
    std::string ApprovedBy;
    std::string GeneralTolerances;
    bool operator==(const SheetDetails&) const = default;
};

struct SheetContent {
    SheetSection Section;
    std::string Material;          // the blank
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

// The largest scale of the series 1:10 … 1000:1 not above the ratio; below 1:10 the series goes
// on to 1:10000, so that a blank of one's own however large stays on the paper.
SheetScale ChooseSheetScale(double largestRatio);

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

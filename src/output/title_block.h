// The title block of a drawing sheet as rows of text: what the die is made from, every input as
// the user typed it, the figures of the finished profile, the unit, the date and the design file.
// The sheet painter lays the rows out; nothing here knows about paper.
#pragma once

#include "core/units.h"
#include "profile/profile_figures.h"

#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

struct TitleRow {
    std::string Caption;
    std::string Value;
    bool operator==(const TitleRow&) const = default;
};

struct TitleInput {
    std::string Caption;   // the field's caption in the window
    std::string Text;      // as typed
    bool IsLength = false; // shown with the drawing's unit
};

struct TitleBlockContent {
    std::string DesignName;
    std::string Blank; // the catalogue row's text
    std::vector<TitleInput> Inputs;
    ProfileFigures Figures;
    std::string DeltaValue;    // as the window shows it
    std::string AreaReduction; // as the window shows it
    double UnitDivisor = 1;
    std::string Scale; // the sheet's scale statement; empty where there is no paper
    std::string Date;
};

std::vector<TitleRow> TitleBlockRows(const TitleBlockContent& content);

// The inputs and the results alone, as the drawing sheet lists them beside its title block (which
// states the blank, the unit, the scale and the date in fields of their own). A length typed as a
// number is written with the sheet's decimals.
std::vector<TitleRow> ResultRows(const TitleBlockContent& content);

// Lengths as a drawing sheet writes them: 4 decimals in inches, 3 in millimetres.
std::string SheetLength(double value, double unitDivisor);
// An angle as a drafter writes it, to two decimals at most and no trailing point: 25°, 12.5°.
std::string SheetDegrees(double angle);

} // namespace dieprofile

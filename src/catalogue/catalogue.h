// The fixed list of die blanks. Each row is what the user reads and also carries the blank's
// diameter and height in millimetres at fixed character positions.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dieprofile {

std::span<const std::string_view> CatalogueRows();

// The 1-based row whose text is exactly this, if any.
std::optional<int> FindCatalogueRow(std::string_view text);

// The custom row: the user types the blank's dimensions.
inline constexpr std::string_view kCustomBlankRow = "BLANK";

struct BlankSlices {
    std::string_view Diameter;
    std::string_view Height;
};

// Cuts the dimension texts out of a diamond row (starting with Q) or, failing that, an SCS row.
BlankSlices SliceBlankRow(std::string_view row);

// A catalogue blank in the unit in force: its diameter and height as the profile holds them and as
// the diamond fields show them.
struct BlankInUnit {
    double Diameter = 0;
    double Height = 0;
    std::string DiameterText;
    std::string HeightText;
};

// The blank of a catalogue row, its millimetres divided by the unit divisor; nothing for the
// custom row, whose dimensions the user types.
std::optional<BlankInUnit> ReadBlank(std::string_view row, double unitDivisor);

} // namespace dieprofile

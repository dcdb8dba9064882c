// The fixed list of die blanks. Each row is what the user reads and also carries the blank's
// diameter and height in millimetres at fixed character positions.
#pragma once

#include <optional>
#include <span>
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

} // namespace dieprofile

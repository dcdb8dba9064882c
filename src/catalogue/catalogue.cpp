#include "catalogue/catalogue.h"

#include "core/number_text.h"

#include <array>

namespace dieprofile {

namespace {

constexpr std::array<std::string_view, 26> kRows{
    "QELTA No. D-12 (Product No. KT101) [Diamond Diameter = 1.50mm | Diamond Thickness = 1.50mm]",
    "QELTA No. D-15 (Product No. KT102) [Diamond Diameter = 4.00mm | Diamond Thickness = 2.30mm]",
    "QELTA No. D-18 (Product No. KT103) [Diamond Diameter = 4.00mm | Diamond Thickness = 2.90mm]",
    "QELTA No. D-21 (Product No. KT104) [Diamond Diameter = 7.00mm | Diamond Thickness = 4.00mm]",
    "QELTA No. D-24 (Product No. KT105) [Diamond Diameter = 7.00mm | Diamond Thickness = 5.30mm]",
    "QELTA No. D-27 (Product No. KT106) [Diamond Diameter = 8.70mm | Diamond Thickness = 7.50mm]",
    "QELTA No. D-27 (Product No. KT107) [Diamond Diameter = 13.0mm | Diamond Thickness = 9.00mm]",
    "QELTA No. D-30 (Product No. KT108) [Diamond Diameter = 13.0mm | Diamond Thickness = 12.0mm]",
    "QELTA No. D-33 (Product No. KT109) [Diamond Diameter = 16.0mm | Diamond Thickness = 16.0mm]",
    "QELTA No. D-36 (Product No. KT110) [Diamond Diameter = 19.0mm | Diamond Thickness = 19.0mm]",
    "QELTA No.  -   (Product No. KT111) [Diamond Diameter = 25.0mm | Diamond Thickness = 20.0mm]",
    "QELTA No.  -   (Product No. KT112) [Diamond Diameter = 30.0mm | Diamond Thickness = 22.0mm]",
    "QELTA No.  -   (Product No. KT113) [Diamond Diameter = 40.0mm | Diamond Thickness = 25.0mm]",
    "QELTA No.  -   (Product No. KT114) [Diamond Diameter = 45.0mm | Diamond Thickness = 27.0mm]",
    "SCS-0.6mm  -   0.6mm X 1.0mm",
    "SCS-0.8mm  -   0.8mm X 1.0mm",
    "SCS-1.0mm  -   1.0mm X 1.2mm",
    "SCS-1.2mm  -   1.2mm X 1.0mm",
    "SCS-1.2mm  -   1.2mm X 1.2mm",
    "SCS-1.4mm  -   1.4mm X 1.4mm",
    "SCS-1.6mm  -   1.6mm X 1.6mm",
    "SCS-1.8mm  -   1.8mm X 1.8mm",
    "SCS-2.0mm  -   2.0mm X 2.0mm",
    "SCS-2.0mm  -   2.0mm X 2.5mm",
    "SCS-2.5mm  -   2.5mm X 2.0mm",
    kCustomBlankRow,
};

// substr that yields what is there instead of throwing past the end.
std::string_view Slice(std::string_view text, std::size_t position, std::size_t count) {
    return position < text.size() ? text.substr(position, count) : std::string_view{};
}

} // namespace

std::span<const std::string_view> CatalogueRows() {
    return kRows;
}

std::optional<int> FindCatalogueRow(std::string_view text) {
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        if (kRows[row] == text) {
            return static_cast<int>(row) + 1;
        }
    }
    return std::nullopt;
}

BlankSlices SliceBlankRow(std::string_view row) {
    // Character positions count from 1 in the row layouts: diameter at 56 and height at 85 in a
    // diamond row, height at 16 and diameter at 24 in an SCS row.
    if (!row.empty() && row.front() == 'Q') {
        return {Slice(row, 55, 4), Slice(row, 84, 4)};
    }
    return {Slice(row, 23, 3), Slice(row, 15, 3)};
}

std::optional<BlankInUnit> ReadBlank(std::string_view row, double unitDivisor) {
    if (row == kCustomBlankRow) {
        return std::nullopt;
    }
    const BlankSlices slices = SliceBlankRow(row);
    // Every slice of the built-in rows is a number; value() states that.
    const double diameter = ParseNumber(slices.Diameter).value() / unitDivisor;
    const double height = ParseNumber(slices.Height).value() / unitDivisor;
    return BlankInUnit{diameter, height, FormatNumber(diameter, kMaskFourPlaces),
                       FormatNumber(height, kMaskFourPlaces)};
}

} // namespace dieprofile

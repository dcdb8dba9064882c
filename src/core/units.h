// The two units a die is laid out in. Lengths are held in the unit shown; the catalogue's blanks
// are in millimetres and are divided by the unit divisor.
#pragma once

#include <string_view>

namespace dieprofile {

inline constexpr double kMillimetresPerInch = 25.4;

// The unit divisor of each unit: millimetres divided by it give the length in that unit.
inline constexpr double kInchUnitDivisor = kMillimetresPerInch;
inline constexpr double kMillimetreUnitDivisor = 1.0;

// The unit divisor of a unit as a file names it: 25.4 for "in", else 1 (millimetres).
constexpr double UnitDivisorOf(std::string_view symbol) {
    return symbol == "in" ? kInchUnitDivisor : kMillimetreUnitDivisor;
}

// "in" or "mm", for a unit divisor of 25.4 or 1.
constexpr std::string_view UnitSymbol(double unitDivisor) {
    return unitDivisor == kInchUnitDivisor ? "in" : "mm";
}

// "inches" or "millimetres".
constexpr std::string_view UnitName(double unitDivisor) {
    return unitDivisor == kInchUnitDivisor ? "inches" : "millimetres";
}

} // namespace dieprofile

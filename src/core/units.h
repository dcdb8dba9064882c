// The two units a die is laid out in. Lengths are held in the unit shown; the catalogue's blanks
// are in millimetres and are divided by the unit divisor.
#pragma once

namespace dieprofile {

inline constexpr double kMillimetresPerInch = 25.4;

// The unit divisor of each unit: millimetres divided by it give the length in that unit.
inline constexpr double kInchUnitDivisor = kMillimetresPerInch;
inline constexpr double kMillimetreUnitDivisor = 1.0;

} // namespace dieprofile

// Conversions between the numbers of a die layout and the texts the fields and
// printouts show. Independent of the process locale: '.' is always the decimal
// separator, whatever locale the application has installed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dieprofile {

// Reads a number typed by the user: optional sign, decimal digits with an
// optional '.', optional exponent ('E' or 'e'). Surrounding spaces are ignored.
// Returns nullopt for anything else, and for a magnitude too large for a double.
// A value too small for a double reads as its nearest double (subnormal or
// signed zero).
std::optional<double> ParseNumber(std::string_view text);

// The shortest text of a value rounded to 15 significant digits, in fixed
// notation for decimal exponents -4..14 and as "1.5E-07" otherwise.
// Every text written for a finite value reads back with ParseNumber.
std::string NumberToText(double value);

// Writes a value with a fixed number of decimal places, given by a mask of the
// form "0." followed by '#' places (shown up to the last non-zero digit) and
// optionally one final '0' place (always shown). Halves round away from zero.
std::string FormatNumber(double value, std::string_view mask);

// A value with exactly this many decimals, nearest to its binary value ("0.0540"); never "-0.000".
std::string FixedDecimals(double value, int decimals);

// The shortest text that reads back to the same double ("0.1", "1e+300"), whatever the locale;
// the form of the CSV and the DXF.
std::string ShortestText(double value);
// A number as a drafter writes it, never with a point and no decimals after it ("21." is "21").
std::string WithoutTrailingPoint(std::string text);

// Rounds to the nearest integer, halves to even; nullopt when the result does
// not fit a 32-bit signed integer or the value is NaN.
std::optional<std::int32_t> RoundToLong(double value);

// The texts NumberToText and FormatNumber write for a value that is not finite.
inline bool IsNonFiniteText(std::string_view text) {
    return text == "nan" || text == "inf" || text == "-inf";
}

inline constexpr std::string_view kMaskFourPlaces = "0.###0";
inline constexpr std::string_view kMaskFivePlaces = "0.####0";
inline constexpr std::string_view kMaskThreePlaces = "0.###";

} // namespace dieprofile

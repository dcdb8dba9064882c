#include "core/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dieprofile {
namespace {

struct TextRow {
    const char* name;
    double value;
    const char* text;
};

TEST(NumberToText, WritesFifteenSignificantDigits) {
    const TextRow rows[] = {
        {"inch to mm keeps the short text", 0.012 * 25.4, "0.3048"},
        {"mm to inch keeps the short text", 0.3048 / 25.4, "0.012"},
        {"repeating fraction", 1.0 / 3, "0.333333333333333"},
        {"trailing zero dropped", 2.50, "2.5"},
        {"point dropped", 2.0, "2"},
        {"leading zero kept", -0.012, "-0.012"},
        {"smallest fixed", 0.0001, "0.0001"},
        {"first exponent below", 0.00001, "1E-05"},
        {"exponent with fraction", 1.5e-7, "1.5E-07"},
        {"just below fixed rounds into it", 0.000099999999999999995, "0.0001"},
        {"fifteen integer digits", 123456789012345.0, "123456789012345"},
        {"first exponent above", 1e15, "1E+15"},
        {"rounds up into exponent form", 999999999999999.9, "1E+15"},
        {"three-digit exponent", 1e100, "1E+100"},
        {"negative large", -1.25e20, "-1.25E+20"},
        {"zero", 0.0, "0"},
        {"negative zero", -0.0, "0"},
        {"smallest subnormal", 4.9406564584124654e-324, "4.94065645841247E-324"},
        {"largest double stays readable", std::numeric_limits<double>::max(),
         "1.79769313486231E+308"},
        {"nan", std::numeric_limits<double>::quiet_NaN(), "nan"},
        {"infinity", std::numeric_limits<double>::infinity(), "inf"},
        {"negative infinity", -std::numeric_limits<double>::infinity(), "-inf"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(NumberToText(row.value), row.text);
    }
}

struct ParseRow {
    const char* name;
    std::string text;
    double value;
};

TEST(ParseNumber, AcceptsDecimalGrammar) {
    const ParseRow rows[] = {
        {"integer", "5", 5},
        {"trailing point", "5.", 5},
        {"leading point", ".5", 0.5},
        {"negative leading point", "-.5", -0.5},
        {"plus sign", "+2", 2},
        {"exponent", "1E5", 1e5},
        {"lower-case negative exponent", "1e-5", 1e-5},
        {"signed padded exponent", "1E+05", 1e5},
        {"surrounding blanks", "  0.012  ", 0.012},
        {"long fraction", "0." + std::string(1000, '3'), 1.0 / 3},
        {"tiny fraction", "0." + std::string(999, '0') + "1", 0.0},
        {"subnormal", "1e-320", 1e-320},
        {"above half the smallest subnormal", "2.4703282292062328e-324", 4.9406564584124654e-324},
        {"underflow", "1e-400", 0.0},
        {"huge negative exponent", "1e-99999999999999999999", 0.0},
        {"zero with huge exponent", "0e99999999999999999999", 0.0},
        {"largest double", "1.7976931348623157e308", std::numeric_limits<double>::max()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto parsed = ParseNumber(row.text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, row.value);
    }
}

TEST(ParseNumber, KeepsSignOfZero) {
    for (const char* text : {"-0", "-1e-400", "-0.0e5"}) {
        SCOPED_TRACE(text);
        const auto parsed = ParseNumber(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, 0.0);
        EXPECT_TRUE(std::signbit(*parsed));
    }
}

TEST(ParseNumber, RejectsOtherTexts) {
    const std::string rejected[] = {"",
                                    "   ",
                                    ".",
                                    "-",
                                    "+.",
                                    "E5",
                                    "1E",
                                    "1E+",
                                    "1e-",
                                    "nan",
                                    "inf",
                                    "infinity",
                                    "-inf",
                                    "0x10",
                                    "1,5",
                                    "1,000",
                                    "5mm",
                                    "1 2",
                                    "\t1",
                                    "1\t",
                                    "1\n",
                                    "12\x01",
                                    "1.2.3",
                                    "--1",
                                    "+-1",
                                    "-+1",
                                    "\xd9\xa5",     // Arabic-Indic five
                                    "\xef\xbc\x95", // full-width five
                                    "1e309",
                                    "-1e309",
                                    "1.7976931348623159e308",
                                    std::string(1000, '9'),
                                    "1e99999999999999999999",
                                    "0.001e99999999999999999999",
                                    std::string("1\0", 2)};
    for (const auto& text : rejected) {
        SCOPED_TRACE("\"" + text + "\"");
        EXPECT_FALSE(ParseNumber(text).has_value());
    }
}

TEST(NumberText, WrittenTextReadsBackToTheSameText) {
    const double values[] = {0.012 * 25.4,
                             1.0 / 3,
                             -2.0 / 3,
                             1e-5,
                             1.5e-7,
                             999999999999999.9,
                             123456789012345.0,
                             6.02214076e23,
                             4.9406564584124654e-324,
                             2.2250738585072014e-308,
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max()};
    for (const double value : values) {
        const std::string text = NumberToText(value);
        SCOPED_TRACE(text);
        const auto parsed = ParseNumber(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(NumberToText(*parsed), text);
    }
}

struct FormatRow {
    const char* name;
    double value;
    std::string_view mask;
    std::string text;
};

TEST(FormatNumber, ShowsTheMaskPlaces) {
    const FormatRow rows[] = {
        {"four: final zero after two digits", 0.18, kMaskFourPlaces, "0.180"},
        {"four: one digit", 1.5, kMaskFourPlaces, "1.50"},
        {"four: integer shows the final place", 13, kMaskFourPlaces, "13.0"},
        {"four: all places", 1.063, kMaskFourPlaces, "1.0630"},
        {"four: inner zeros kept", 0.0591, kMaskFourPlaces, "0.0591"},
        {"four: three digits", 0.748, kMaskFourPlaces, "0.7480"},
        {"four: rounds down", 0.0614464, kMaskFourPlaces, "0.0614"},
        {"four: rounds up", 0.0225536, kMaskFourPlaces, "0.0226"},
        {"four: negative small", -0.00081, kMaskFourPlaces, "-0.0008"},
        {"four: zero", 0, kMaskFourPlaces, "0.0"},
        {"four: half at the last place", 0.00005, kMaskFourPlaces, "0.0001"},
        {"four: negative half away from zero", -0.00005, kMaskFourPlaces, "-0.0001"},
        {"four: gap before the final place", 1.05, kMaskFourPlaces, "1.050"},
        {"three: one digit", 12.5, kMaskThreePlaces, "12.5"},
        {"three: rounds up", 0.4567, kMaskThreePlaces, "0.457"},
        {"three: rounds up again", 0.7358947, kMaskThreePlaces, "0.736"},
        {"three: rounds down", 70.2479339, kMaskThreePlaces, "70.248"},
        {"three: integer keeps the point", 2, kMaskThreePlaces, "2."},
        {"three: two-digit integer", 45, kMaskThreePlaces, "45."},
        {"three: rounds to zero", 0.0002, kMaskThreePlaces, "0."},
        {"three: negative rounds to zero unsigned", -0.00001, kMaskThreePlaces, "0."},
        {"three: negative zero unsigned", -0.0, kMaskThreePlaces, "0."},
        {"three: binary below half still rounds up", 0.0225, kMaskThreePlaces, "0.023"},
        {"three: carry lengthens the integer", 99.9999, kMaskThreePlaces, "100."},
        {"three: carry from zero", 0.9996, kMaskThreePlaces, "1."},
        {"three: large integer written in full", 1e20, kMaskThreePlaces, "100000000000000000000."},
        {"three: beyond fifteen digits", 1234567890123456789.0, kMaskThreePlaces,
         "1234567890123460000."},
        {"three: largest double stays readable", std::numeric_limits<double>::max(),
         kMaskThreePlaces, "179769313486231" + std::string(294, '0') + "."},
        {"five: two digits", 0.022, kMaskFivePlaces, "0.0220"},
        {"five: inch value", 0.012, kMaskFivePlaces, "0.0120"},
        {"five: four digits then final", 0.3048, kMaskFivePlaces, "0.30480"},
        {"five: tiny value", 1e-300, kMaskFivePlaces, "0.0"},
        {"two places: decimal half", 2.675, "0.#0", "2.68"},
        {"no places", 2.5, "0.", "3."},
        {"single final place", 0.25, "0.0", "0.3"},
        {"invalid mask has no places", 2.5, "#.##", "3."},
        {"misplaced zero is invalid", 2.5, "0.0#", "3."},
        {"empty mask", -7.4, "", "-7."},
        {"nan", std::numeric_limits<double>::quiet_NaN(), kMaskFourPlaces, "nan"},
        {"negative infinity", -std::numeric_limits<double>::infinity(), kMaskThreePlaces, "-inf"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FormatNumber(row.value, row.mask), row.text);
    }
}

// The standard library's exact conversions are the reference for the fast ones: a value shown
// with as many places as leave 15 significant digits is to_chars' fixed text without its trailing
// zeros, and a text reads as from_chars reads it.
std::string FixedWithoutTrailingZeros(double value, int places) {
    char buffer[64];
    std::string text(
        buffer,
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places).ptr);
    if (text.find('.') == std::string::npos) {
        text += '.';
    }
    return text.erase(text.find_last_not_of('0') + 1);
}

TEST(FormatNumber, RoundsToFifteenDigitsLikeTheExactConversion) {
    // Exact halves between two 15-digit decimals, their neighbours, carries into the next power
    // of ten, and the ends of the magnitudes rounded in whole numbers.
    std::vector<double> values = {123456789012345.5,
                                  12345678901234.75,
                                  999999999999999.5,
                                  99999999999999.95,
                                  0.99999999999999995,
                                  1.0000000000000002,
                                  0.30000000000000004,
                                  2.675,
                                  1e-13,
                                  9.999999999999999e-14,
                                  999999999999999.9,
                                  1e14};
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::pow(10.0, std::uniform_real_distribution(-13.0, 15.0)(random));
        values.insert(values.end(), {value, std::nextafter(value, 0.0)});
    }
    for (const double value : values) {
        char scientific[32];
        const auto end = std::to_chars(scientific, scientific + sizeof scientific, value,
                                       std::chars_format::scientific, 14)
                             .ptr;
        const int places = 14 - std::atoi(std::find(scientific, end, 'e') + 1);
        if (places < 0 || places > 27) {
            continue;
        }
        SCOPED_TRACE(scientific);
        const std::string mask = "0." + std::string(static_cast<std::size_t>(places), '#');
        ASSERT_EQ(FormatNumber(value, mask), FixedWithoutTrailingZeros(value, places));
        ASSERT_EQ(FormatNumber(-value, mask), FixedWithoutTrailingZeros(-value, places));
    }
}

TEST(ParseNumber, ReadsLikeTheExactConversion) {
    // Around the limits of the one-step reading: 2^53 in the digits, 1e22 as the power of ten.
    std::vector<std::string> texts = {"9007199254740992",
                                      "9007199254740993",
                                      "9007199254740995",
                                      "1e22",
                                      "1e23",
                                      "4.5e-22",
                                      "4.5e-23",
                                      "0.000000000000000000001",
                                      "123456789012345678",
                                      "1234567890123456789012",
                                      "000000000000000000000012.5",
                                      "0.30000000000000004",
                                      "2.675",
                                      "-7.25e-3",
                                      "-0.0"};
    std::mt19937_64 random(20261208);
    const auto digits = [&](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            text += static_cast<char>('0' + random() % 10);
        }
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        texts.push_back(digits(1 + random() % 20) + "." + digits(random() % 20) + "e" +
                        std::to_string(static_cast<int>(random() % 61) - 30));
    }
    for (const auto& text : texts) {
        SCOPED_TRACE(text);
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const auto parsed = ParseNumber(text);
        ASSERT_TRUE(parsed.has_value());
        ASSERT_EQ(std::bit_cast<std::uint64_t>(*parsed), std::bit_cast<std::uint64_t>(expected));
    }
}

struct RoundRow {
    const char* name;
    double value;
    std::optional<std::int32_t> rounded;
};

// Lengths as the sheet and the DXF write them, however large: every digit, never a buffer's rest.
TEST(FixedDecimals, WritesEveryDigitOfAnyDouble) {
    EXPECT_EQ(FixedDecimals(6e12, 3), "6000000000000.000");
    const std::string largest = FixedDecimals(-1.7976931348623157e308, 4);
    EXPECT_TRUE(largest.size() == 1 + 309 + 5 && largest.starts_with("-17976931348623157"));
}

TEST(RoundToLong, RoundsHalvesToEvenWithinRange) {
    const RoundRow rows[] = {
        {"half down to even", 2.5, 2},
        {"half up to even", 3.5, 4},
        {"negative half to even", -2.5, -2},
        {"negative half up to even", -3.5, -4},
        {"half to zero", 0.5, 0},
        {"just above half", 0.5000000000000001, 1},
        {"just below half", 0.49999999999999994, 0},
        {"negative above half", -1.6, -2},
        {"largest", 2147483647.0, 2147483647},
        {"rounds to largest", 2147483647.4, 2147483647},
        {"half above largest goes out", 2147483647.5, std::nullopt},
        {"beyond largest", 2147483648.0, std::nullopt},
        {"smallest", -2147483648.0, std::numeric_limits<std::int32_t>::min()},
        {"half below smallest rounds to even inside", -2147483648.5,
         std::numeric_limits<std::int32_t>::min()},
        {"below smallest", -2147483648.6, std::nullopt},
        {"huge", 1e300, std::nullopt},
        {"infinity", std::numeric_limits<double>::infinity(), std::nullopt},
        {"nan", std::numeric_limits<double>::quiet_NaN(), std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(RoundToLong(row.value), row.rounded);
    }
}

} // namespace
} // namespace dieprofile

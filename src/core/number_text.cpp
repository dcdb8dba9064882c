#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

namespace dieprofile {

namespace {

constexpr int kSignificantDigits = 15;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A finite value rounded to 15 significant digits: |value| ~ d0.d1...d14 * 10^exponent.
struct Decimal15 {
    bool negative = false;
    char digits[kSignificantDigits] = {};
    int exponent = 0;
};

// Reads to_chars' scientific form "[-]d[.ddd]e±dd" into a 15-digit decimal; false when the text
// has more significant digits than that.
bool ReadScientific(const char* p, const char* end, Decimal15& decimal) {
    decimal = Decimal15{};
    if (*p == '-') {
        decimal.negative = true;
        ++p;
    }
    int count = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') {
            continue;
        }
        if (count == kSignificantDigits) {
            return false;
        }
        decimal.digits[count++] = *p;
    }
    std::fill(decimal.digits + count, decimal.digits + kSignificantDigits, '0');
    ++p; // 'e'
    const bool negativeExponent = *p++ == '-';
    int exponent = 0;
    for (; p < end; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    decimal.exponent = negativeExponent ? -exponent : exponent;
    return true;
}

Decimal15 ToDecimal15(double value) {
    // "-d.ddddddddddddddde+ddd" needs at most 23 characters.
    char buffer[32];
    Decimal15 decimal;
    // The shortest text that reads back as the value is, when it has at most 15 significant
    // digits, also the value rounded to 15 digits: a double's own rounding error is far below half
    // a unit of the 15th digit. It is several times faster to find than a fixed-precision text.
    // Subnormals carry too few bits for that argument and take the exact way.
    const bool normal = value == 0 || std::isnormal(value);
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (!normal || !ReadScientific(buffer, result.ptr, decimal)) {
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                               kSignificantDigits - 1);
        ReadScientific(buffer, result.ptr, decimal);
    }

    // The largest doubles round up to 1.79769313486232E+308, which lies beyond the
    // range of a double and would not read back; keep the 15-digit value below it.
    if (decimal.exponent == 308 &&
        std::string_view(decimal.digits, kSignificantDigits) > "179769313486231") {
        std::copy_n("179769313486231", kSignificantDigits, decimal.digits);
    }
    return decimal;
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    return value < 0 ? "-inf" : "inf";
}

} // namespace

std::optional<double> ParseNumber(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);

    std::size_t i = 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t integerStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    const std::size_t integerEnd = i;
    std::size_t fractionStart = i;
    if (i < text.size() && text[i] == '.') {
        fractionStart = ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
    }
    const std::size_t fractionEnd = i;
    if (integerEnd == integerStart && fractionEnd == fractionStart) {
        return std::nullopt;
    }

    // The exponent saturates: any bound far beyond the range of a double (about
    // 1e-324..1e308) decides overflow against underflow the same way, and an
    // unbounded value could overflow.
    constexpr long long kExponentLimit = 1'000'000'000'000LL;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        const std::size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i])) {
            if (exponent < kExponentLimit) {
                exponent = exponent * 10 + (text[i] - '0');
            }
            ++i;
        }
        if (i == exponentStart) {
            return std::nullopt;
        }
        exponent = std::min(exponent, kExponentLimit);
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }

    // from_chars does not take a leading '+'; the grammar has been checked above,
    // so it only has to convert.
    const std::size_t start = text[0] == '+' ? 1 : 0;
    double value = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), value,
                                        std::chars_format::general);
    if (result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    if (result.ec == std::errc{}) {
        return value;
    }
    if (result.ec != std::errc::result_out_of_range) {
        return std::nullopt;
    }

    // libstdc++ reports overflow and underflow alike as out of range and leaves
    // the value untouched. Tell them apart by the decimal exponent of the first
    // significant digit: an underflow reads as zero, an overflow is rejected.
    long long leading = 0;
    const auto significantInteger =
        text.substr(integerStart, integerEnd - integerStart).find_first_not_of('0');
    if (significantInteger != std::string_view::npos) {
        leading = static_cast<long long>(integerEnd - integerStart - significantInteger) - 1;
    } else {
        const auto significantFraction =
            text.substr(fractionStart, fractionEnd - fractionStart).find_first_not_of('0');
        if (significantFraction == std::string_view::npos) {
            return negative ? -0.0 : 0.0;
        }
        leading = -static_cast<long long>(significantFraction) - 1;
    }
    if (exponent + leading < 0) {
        return negative ? -0.0 : 0.0;
    }
    return std::nullopt;
}

std::string NumberToText(double value) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    if (value == 0) {
        return "0";
    }
    const Decimal15 decimal = ToDecimal15(value);
    const std::string_view digits(decimal.digits, kSignificantDigits);
    const std::string_view significant = digits.substr(0, digits.find_last_not_of('0') + 1);
    const int exponent = decimal.exponent;

    std::string text = decimal.negative ? "-" : "";
    if (exponent < -4 || exponent >= kSignificantDigits) {
        text += significant[0];
        if (significant.size() > 1) {
            text += '.';
            text += significant.substr(1);
        }
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) {
            text += '0';
        }
        text += std::to_string(magnitude);
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        text += digits.substr(0, integerDigits);
        if (significant.size() > integerDigits) {
            text += '.';
            text += significant.substr(integerDigits);
        }
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += significant;
    }
    return text;
}

std::string FormatNumber(double value, std::string_view mask) {
    // "0." then '#' places, optionally ending in one '0' place. Any other mask is
    // a programming error and is treated as one without decimal places.
    std::size_t places = 0;
    bool finalZeroPlace = false;
    if (mask.size() >= 2 && mask.substr(0, 2) == "0.") {
        const std::string_view placeMask = mask.substr(2);
        const bool endsInZero = !placeMask.empty() && placeMask.back() == '0';
        const std::string_view hashes =
            endsInZero ? placeMask.substr(0, placeMask.size() - 1) : placeMask;
        if (hashes.find_first_not_of('#') == std::string_view::npos) {
            places = placeMask.size();
            finalZeroPlace = endsInZero;
        }
    }

    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    const Decimal15 decimal = ToDecimal15(value);

    // Digits of |value| * 10^places, cut after the units digit and rounded half
    // away from zero on the 15-digit decimal itself.
    const long long keptDigits =
        static_cast<long long>(decimal.exponent) + 1 + static_cast<long long>(places);
    std::string scaled;
    int roundingDigit = 0;
    if (keptDigits > 0) {
        scaled.reserve(static_cast<std::size_t>(keptDigits) + 1);
        for (long long j = 0; j < keptDigits; ++j) {
            scaled += j < kSignificantDigits ? decimal.digits[j] : '0';
        }
        if (keptDigits < kSignificantDigits) {
            roundingDigit = decimal.digits[keptDigits] - '0';
        }
    } else if (keptDigits == 0) {
        roundingDigit = decimal.digits[0] - '0';
    }
    if (roundingDigit >= 5) {
        auto it = scaled.rbegin();
        for (; it != scaled.rend() && *it == '9'; ++it) {
            *it = '0';
        }
        if (it == scaled.rend()) {
            scaled.insert(scaled.begin(), '1');
        } else {
            ++*it;
        }
    }
    if (scaled.size() < places + 1) {
        scaled.insert(0, places + 1 - scaled.size(), '0');
    }

    const bool isZero = scaled.find_first_not_of('0') == std::string::npos;
    std::string text = decimal.negative && !isZero ? "-" : "";
    text.append(scaled, 0, scaled.size() - places);
    text += '.';
    const std::string_view fraction = std::string_view(scaled).substr(scaled.size() - places);
    const std::size_t lastNonZero = fraction.find_last_not_of('0');
    const std::size_t shown = lastNonZero == std::string_view::npos ? 0 : lastNonZero + 1;
    if (finalZeroPlace) {
        text += fraction.substr(0, std::min(shown, places - 1));
        text += fraction.back();
    } else {
        text += fraction.substr(0, shown);
    }
    return text;
}

std::optional<std::int32_t> RoundToLong(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // Explicit ties-to-even, independent of the floating-point rounding mode.
    // value - floor(value) is exact for every finite double.
    const double lower = std::floor(value);
    const double remainder = value - lower;
    double rounded = lower;
    if (remainder > 0.5 || (remainder == 0.5 && std::fmod(lower, 2.0) != 0)) {
        rounded = lower + 1;
    }
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::string FixedDecimals(double value, int decimals) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    std::string text(buffer.data(), result.ptr);
    return text == "-0." + std::string(static_cast<std::size_t>(decimals), '0') ? text.substr(1)
                                                                                : text;
}

} // namespace dieprofile

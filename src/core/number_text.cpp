#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <system_error>

namespace dieprofile {

namespace {

constexpr int kSignificantDigits = 15;

// base^0 .. base^(N-1), exact as long as the type holds them.
template <typename T, std::size_t N> constexpr std::array<T, N> PowersOf(T base) {
    std::array<T, N> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < N; ++i) {
        powers[i] = powers[i - 1] * base;
    }
    return powers;
}

// Every power of ten and of five a 64-bit unsigned integer holds, and the powers of ten a double
// holds exactly.
constexpr auto kPowersOfTen = PowersOf<std::uint64_t, 20>(10);
constexpr auto kPowersOfFive = PowersOf<std::uint64_t, 28>(5);
constexpr auto kExactPowersOfTen = PowersOf<double, 23>(10);

__extension__ using Uint128 = unsigned __int128;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A finite value rounded to 15 significant digits: |value| ~ significand * 10^(exponent - 14),
// the significand 0 for zero and otherwise of exactly 15 digits.
struct Decimal15 {
    bool negative = false;
    std::uint64_t significand = 0;
    int exponent = 0;
};

// The 15-digit rounding of a positive value in integer arithmetic, for the magnitudes a die is
// laid out in (about 1e-13 to 1e15). A normal double is m * 2^q exactly, so the value times 10^k
// is m * 5^k * 2^(k + q): with k <= 27 the product m * 5^k fits 128 bits, and shifting it by
// k + q bits gives the whole part and the exact remainder. False for other magnitudes and for a
// value exactly halfway between two 15-digit decimals: the general path rounds those.
bool RoundInIntegers(double magnitude, Decimal15& decimal) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biasedExponent = static_cast<int>(bits >> 52);
    if (biasedExponent == 0 || biasedExponent == 0x7ff) {
        return false;
    }
    constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << 52;
    const std::uint64_t m = (bits & (kHiddenBit - 1)) | kHiddenBit;
    const int q = biasedExponent - 1075;
    // floor(log10(2^(q + 52))), exact over the whole range of a double: the decimal exponent of
    // the value, or one less.
    int exponent = ((q + 52) * 78913) >> 18;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int k = kSignificantDigits - 1 - exponent;
        if (k < 0 || k >= static_cast<int>(kPowersOfFive.size())) {
            return false;
        }
        const Uint128 product = Uint128{m} * kPowersOfFive[static_cast<std::size_t>(k)];
        // Within these magnitudes the shift lies between 3 and 71 bits.
        const int shift = -(k + q);
        if (shift <= 0 || shift >= 128) {
            return false;
        }
        const Uint128 whole = product >> shift;
        if (whole >= kPowersOfTen[kSignificantDigits]) {
            ++exponent;
            continue;
        }
        if (whole < kPowersOfTen[kSignificantDigits - 1]) {
            return false;
        }
        const Uint128 remainder = product - (whole << shift);
        const Uint128 half = Uint128{1} << (shift - 1);
        if (remainder == half) {
            return false;
        }
        decimal.significand = static_cast<std::uint64_t>(whole) + (remainder > half ? 1 : 0);
        decimal.exponent = exponent;
        if (decimal.significand == kPowersOfTen[kSignificantDigits]) {
            decimal.significand = kPowersOfTen[kSignificantDigits - 1];
            ++decimal.exponent;
        }
        return true;
    }
    return false;
}

// Any finite value, through to_chars' exact fixed-precision form "[-]d.ddddddddddddddde±dd".
void RoundInGeneral(double value, Decimal15& decimal) {
    // "-d.ddddddddddddddde+ddd" needs at most 23 characters.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const char* p = buffer;
    if (*p == '-') {
        ++p;
    }
    decimal.significand = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            decimal.significand = decimal.significand * 10 + static_cast<std::uint64_t>(*p - '0');
        }
    }
    ++p; // 'e'
    const bool negativeExponent = *p++ == '-';
    int exponent = 0;
    for (; p < result.ptr; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    decimal.exponent = negativeExponent ? -exponent : exponent;

    // The largest doubles round up to 1.79769313486232E+308, which lies beyond the
    // range of a double and would not read back; keep the 15-digit value below it.
    constexpr std::uint64_t kLargestReadable = 179769313486231;
    if (decimal.exponent == 308 && decimal.significand > kLargestReadable) {
        decimal.significand = kLargestReadable;
    }
}

Decimal15 ToDecimal15(double value) {
    Decimal15 decimal;
    decimal.negative = std::signbit(value);
    if (value != 0 && !RoundInIntegers(std::fabs(value), decimal)) {
        RoundInGeneral(value, decimal);
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
    // The digits as one integer while they fit 19 significant digits, for the exact conversion
    // of short texts below.
    std::uint64_t digitValue = 0;
    int significantDigits = 0;
    const auto readDigits = [&] {
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            if (digitValue != 0 || text[i] != '0') {
                ++significantDigits;
                if (significantDigits <= 19) {
                    digitValue = digitValue * 10 + static_cast<std::uint64_t>(text[i] - '0');
                }
            }
        }
    };
    const std::size_t integerStart = i;
    readDigits();
    const std::size_t integerEnd = i;
    std::size_t fractionStart = i;
    if (i < text.size() && text[i] == '.') {
        fractionStart = ++i;
        readDigits();
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

    // A text of at most 2^53 in its digits and a power of ten a double holds exactly converts in
    // one correctly rounded multiplication or division, which is what from_chars returns, only
    // faster.
    const long long powerOfTen = exponent - static_cast<long long>(fractionEnd - fractionStart);
    if (significantDigits <= 19 && digitValue <= (std::uint64_t{1} << 53) && powerOfTen >= -22 &&
        powerOfTen <= 22) {
        const auto digits = static_cast<double>(digitValue);
        const double magnitude =
            powerOfTen >= 0 ? digits * kExactPowersOfTen[static_cast<std::size_t>(powerOfTen)]
                            : digits / kExactPowersOfTen[static_cast<std::size_t>(-powerOfTen)];
        return negative ? -magnitude : magnitude;
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
    char digitBuffer[20];
    const std::string_view digits(
        digitBuffer, std::to_chars(digitBuffer, std::end(digitBuffer), decimal.significand).ptr);
    const std::string_view significant = digits.substr(0, digits.find_last_not_of('0') + 1);
    const int exponent = decimal.exponent;

    // At most "-1.23456789012345E-308".
    char buffer[32];
    char* out = buffer;
    if (decimal.negative) {
        *out++ = '-';
    }
    if (exponent < -4 || exponent >= kSignificantDigits) {
        *out++ = significant[0];
        if (significant.size() > 1) {
            *out++ = '.';
            out = std::copy(significant.begin() + 1, significant.end(), out);
        }
        *out++ = 'E';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) {
            *out++ = '0';
        }
        out = std::to_chars(out, buffer + sizeof buffer, magnitude).ptr;
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        out = std::copy_n(digits.begin(), integerDigits, out);
        if (significant.size() > integerDigits) {
            *out++ = '.';
            out = std::copy(significant.begin() + static_cast<std::ptrdiff_t>(integerDigits),
                            significant.end(), out);
        }
    } else {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -exponent - 1, '0');
        out = std::copy(significant.begin(), significant.end(), out);
    }
    return {buffer, out};
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

    // Digits of |value| * 10^places, cut after the units digit and rounded half away from zero on
    // the 15-digit decimal itself: a whole number of at most 15 digits, or for a large value or a
    // long mask the 15 digits followed by zeros.
    const long long keptDigits =
        static_cast<long long>(decimal.exponent) + 1 + static_cast<long long>(places);
    char wholeDigits[20];
    std::string longDigits;
    std::string_view scaled;
    if (keptDigits >= kSignificantDigits) {
        longDigits.assign(
            wholeDigits,
            std::to_chars(wholeDigits, std::end(wholeDigits), decimal.significand).ptr);
        longDigits.append(static_cast<std::size_t>(keptDigits - kSignificantDigits), '0');
        scaled = longDigits;
    } else {
        std::uint64_t whole = 0;
        if (keptDigits >= 0) {
            const std::uint64_t unit =
                kPowersOfTen[static_cast<std::size_t>(kSignificantDigits - keptDigits)];
            whole = (decimal.significand + unit / 2) / unit;
        }
        scaled = {wholeDigits, std::to_chars(wholeDigits, std::end(wholeDigits), whole).ptr};
    }

    // The places are the last digits, after zeros when there are fewer digits than places.
    const std::size_t integerDigits = scaled.size() > places ? scaled.size() - places : 0;
    const std::string_view placeDigits = scaled.substr(integerDigits);
    const std::size_t leadingZeros = places - placeDigits.size();
    const std::size_t lastNonZero = placeDigits.find_last_not_of('0');
    std::size_t shown = lastNonZero == std::string_view::npos ? 0 : leadingZeros + lastNonZero + 1;
    if (finalZeroPlace) {
        shown = std::min(shown + 1, places);
    }
    const std::size_t shownZeros = std::min(shown, leadingZeros);
    const bool negative =
        decimal.negative && scaled.find_first_not_of('0') != std::string_view::npos;

    // Written over zeros: "0" as the integer part when there is none, the zeros before the places.
    std::string text((negative ? 1 : 0) + std::max<std::size_t>(integerDigits, 1) + 1 + shown, '0');
    char* out = text.data();
    if (negative) {
        *out++ = '-';
    }
    out = integerDigits == 0 ? out + 1 : std::copy_n(scaled.data(), integerDigits, out);
    *out++ = '.';
    std::copy_n(placeDigits.data(), shown - shownZeros, out + shownZeros);
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
    // Room for the largest double's 309 digits, its sign, point and decimals: a blank of one's
    // own may be as large as a double goes.
    std::string buffer(312 + static_cast<std::size_t>(std::max(decimals, 0)), '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    std::string text(buffer.data(), result.ptr);
    return text == "-0." + std::string(static_cast<std::size_t>(decimals), '0') ? text.substr(1)
                                                                                : text;
}

std::string ShortestText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

std::string WithoutTrailingPoint(std::string text) {
    if (text.size() > 1 && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

} // namespace dieprofile

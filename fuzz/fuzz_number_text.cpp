// Properties of the number/text conversions that must hold for any input: typed text never
// crashes the reader and reads as from_chars reads it, every accepted number writes back to a
// text that reads again to the same 15 digits, and the masked formats keep their shape and stay
// within half a unit of their last place.
#include "core/number_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

namespace {

using namespace dieprofile;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void CheckParseRoundTrip(std::string_view text) {
    const auto parsed = ParseNumber(text);
    if (!parsed) {
        return;
    }
    Check(std::isfinite(*parsed));
    // A text from_chars takes as it stands (no '+', no blanks) reads as exactly the same double.
    if (text[0] != '+' && text.find(' ') == std::string_view::npos) {
        double exact = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), exact);
        Check(result.ec != std::errc{} ||
              std::bit_cast<std::uint64_t>(exact) == std::bit_cast<std::uint64_t>(*parsed));
    }
    const std::string written = NumberToText(*parsed);
    const auto reread = ParseNumber(written);
    Check(reread.has_value());
    Check(NumberToText(*reread) == written);
}

// "-"? digits (no superfluous leading zero) "." then fraction digits whose count
// lies within the mask's bounds.
void CheckMaskShape(const std::string& text, std::size_t minFraction, std::size_t maxFraction) {
    std::size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
    const std::size_t integerStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    const std::size_t integerDigits = i - integerStart;
    Check(integerDigits >= 1);
    Check(integerDigits == 1 || text[integerStart] != '0');
    Check(i < text.size() && text[i] == '.');
    ++i;
    const std::size_t fractionStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    Check(i == text.size());
    const std::size_t fractionDigits = i - fractionStart;
    Check(fractionDigits >= minFraction && fractionDigits <= maxFraction);
}

void CheckFormat(double value) {
    struct Mask {
        std::string_view mask;
        std::size_t minFraction;
        std::size_t places;
    };
    constexpr Mask kMasks[] = {
        {kMaskFourPlaces, 1, 4}, {kMaskFivePlaces, 1, 5}, {kMaskThreePlaces, 0, 3}};
    for (const auto& mask : kMasks) {
        const std::string text = FormatNumber(value, mask.mask);
        CheckMaskShape(text, mask.minFraction, mask.places);
        const auto parsed = ParseNumber(text);
        Check(parsed.has_value());
        const double allowed = 0.5 * std::pow(10.0, -static_cast<double>(mask.places)) +
                               1e-14 * std::fmax(1.0, std::fabs(value));
        Check(std::fabs(*parsed - value) <= allowed);
        // A text that rounds to zero carries no sign.
        Check(!(text[0] == '-' && *parsed == 0));
    }
}

void CheckRound(double value) {
    const auto rounded = RoundToLong(value);
    if (rounded) {
        Check(std::fabs(static_cast<double>(*rounded) - value) <= 0.5);
    } else {
        Check(std::isnan(value) || std::fabs(value) >= 2147483647.5);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckParseRoundTrip(text);

    // The same bytes as a mask: a malformed mask must still give a plain number.
    // It never has more places than the mask has characters after "0.".
    const std::string masked = FormatNumber(-12.5, text);
    CheckMaskShape(masked, 0, size > 2 ? size - 2 : 0);
    const auto maskedValue = ParseNumber(masked);
    Check(maskedValue.has_value() && std::fabs(*maskedValue + 12.5) <= 0.5);

    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        CheckRound(value);
        if (std::isfinite(value)) {
            CheckFormat(value);
            const auto reread = ParseNumber(NumberToText(value));
            Check(reread.has_value());
            Check(NumberToText(*reread) == NumberToText(value));
        }
    }
    return 0;
}

#include "core/message_text.h"

#include "core/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace dieprofile {

namespace {

std::string Escaped(const char* format, unsigned value) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return buffer.data();
}

// One character as the message shows it.
std::string Shown(std::string_view character) {
    const auto first = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) {
        switch (first) {
        case '\n':
            return "\\n";
        case '\t':
            return "\\t";
        case '\r':
            return "\\r";
        default:
            break;
        }
        return first < 0x20 || first == 0x7F ? Escaped("\\u%04X", first) : std::string(character);
    }
    // The C1 controls, U+0080 to U+009F.
    const auto second = static_cast<unsigned char>(character[1]);
    if (first == 0xC2 && second <= 0x9F) {
        return Escaped("\\u%04X", second);
    }
    return std::string(character);
}

// The text as messages show it, cut after limit characters with "…".
std::string ShownText(std::string_view text, std::size_t limit) {
    std::string shown;
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = Utf8SequenceLength(text.substr(i));
        if (characters + 1 == limit && i + std::max<std::size_t>(length, 1) < text.size()) {
            shown += "…";
            break;
        }
        shown += length == 0 ? Escaped("\\x%02X", static_cast<unsigned char>(text[i]))
                             : Shown(text.substr(i, length));
        i += length == 0 ? 1 : length;
        ++characters;
    }
    return shown;
}

} // namespace

std::string QuotedForMessage(std::string_view text) {
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + std::string&&.
    std::string quoted = "\"";
    quoted += ShownText(text, kMaxQuotedCharacters);
    quoted += '"';
    return quoted;
}

std::string WithControlCharactersEscaped(std::string_view text) {
    return ShownText(text, SIZE_MAX);
}

} // namespace dieprofile

#include "core/message_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace dieprofile {

namespace {} // namespace

std::size_t Utf8SequenceLength(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    std::size_t length = 0;
    unsigned code = 0;
    unsigned min = 0;
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, min = 0x80, code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, min = 0x800, code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 0 : length;
}

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

} // namespace

std::string QuotedForMessage(std::string_view text) {
    std::string quoted = "\"";
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = Utf8SequenceLength(text.substr(i));
        if (characters == kMaxQuotedCharacters - 1 &&
            i + std::max<std::size_t>(length, 1) < text.size()) {
            quoted += "…";
            break;
        }
        quoted += length == 0 ? Escaped("\\x%02X", static_cast<unsigned char>(text[i]))
                              : Shown(text.substr(i, length));
        i += length == 0 ? 1 : length;
        ++characters;
    }
    return quoted + "\"";
}

} // namespace dieprofile

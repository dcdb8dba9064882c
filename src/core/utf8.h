// UTF-8 text as the window and the design file count and check it.
#pragma once

#include <cstddef>
#include <string_view>

namespace dieprofile {

// The number of characters (Unicode code points) of UTF-8 text: continuation bytes do not count.
// A field's length, a selection and the design file's limit are all counted this way.
std::size_t CodePointCount(std::string_view text);

// True when the bytes are well-formed UTF-8: no stray continuation byte, no overlong form, no
// surrogate, nothing past U+10FFFF.
bool IsUtf8(std::string_view bytes);

// The character that UTF-8 bytes (not empty) start with, and the length of its sequence: 1 to 4,
// or 0 when they start with a stray continuation byte, an overlong form, a surrogate or anything
// past U+10FFFF.
struct Utf8Character {
    char32_t Code = 0;
    std::size_t Length = 0;
};
Utf8Character DecodeUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 sequence that bytes (not empty) start with, as DecodeUtf8
// finds it.
std::size_t Utf8SequenceLength(std::string_view bytes);

} // namespace dieprofile

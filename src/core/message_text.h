// Text a user gave (a file name, a key, a blank's name) as a message quotes it: whatever the
// bytes, the message shows no control character (a terminal would obey it, a NUL would cut the
// message short) and stays short enough to read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dieprofile {

// What a drawing or a set that has never been in a file is called where its file's name stands.
inline constexpr std::string_view kNotSaved = "(not saved)";

// Longer texts are cut to this many characters, the last of them an ellipsis.
inline constexpr std::size_t kMaxQuotedCharacters = 80;

// The text in double quotes: control characters written as \n, \t, \r or \u001B, bytes that are
// not UTF-8 as \xFF, and anything past kMaxQuotedCharacters cut off with "…".
std::string QuotedForMessage(std::string_view text);

// A whole message as a terminal is sent it: whatever control character or stray byte is left in
// it (from a library's own message, say) written as QuotedForMessage writes it, nothing cut.
std::string WithControlCharactersEscaped(std::string_view text);

} // namespace dieprofile

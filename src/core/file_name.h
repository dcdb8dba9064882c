// A file's name as the user gave it, read the one way every caller reads it.
#pragma once

#include <string>
#include <string_view>

namespace dieprofile {

// A file name's extension in lower case, without its dot; empty when the name has none.
std::string ExtensionOf(std::string_view path);

// Whether the name ends in this extension (given without its dot, in lower case), in any case:
// "SHEET.PDF" is a PDF as "sheet.pdf" is.
bool HasExtension(std::string_view path, std::string_view extension);

} // namespace dieprofile

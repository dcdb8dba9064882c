#include "core/file_name.h"

#include <algorithm>

namespace dieprofile {

std::string ExtensionOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) {
        return {};
    }
    std::string extension(path.substr(dot + 1));
    // ASCII only: an extension in another script is compared as its bytes.
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return extension;
}

bool HasExtension(std::string_view path, std::string_view extension) {
    return !extension.empty() && ExtensionOf(path) == extension;
}

} // namespace dieprofile

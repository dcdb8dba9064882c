// Exports of the drawing that need no toolkit: the DXF for the machine shop.
#pragma once

#include "app/form_model.h"

#include <optional>
#include <string>
#include <string_view>

namespace dieprofile {

// Writes the die's section of the last Calculate as DXF to path (atomically). Nothing on success;
// otherwise the message for the user, which names the file and what is wrong.
std::optional<std::string> ExportDxfFile(const Form1Model& model, std::string_view designName,
                                         const std::string& path);

} // namespace dieprofile

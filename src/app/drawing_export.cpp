// PLACEHOLDER until the DXF writer lands: refuses every export.
#include "app/drawing_export.h"

namespace dieprofile {

std::optional<std::string> ExportDxfFile(const Form1Model& /*model*/,
                                         std::string_view /*designName*/, const std::string& path) {
    return "Cannot export \"" + path + "\": DXF export is not built yet.";
}

} // namespace dieprofile

// Exports of the drawing that need no toolkit: the DXF for the machine shop, and what the drawing
// sheet's title block says. Both read the last Calculate, never the present fields.
#pragma once

#include "app/form_model.h"
#include "output/dxf_writer.h"
#include "output/title_block.h"

#include <optional>
#include <string>
#include <string_view>

namespace dieprofile {

// The DXF's layers.
inline constexpr std::string_view kLayerBoreProfile = "BORE_PROFILE";
inline constexpr std::string_view kLayerSection = "SECTION";
inline constexpr std::string_view kLayerWires = "WIRES";
inline constexpr std::string_view kLayerDimensions = "DIMENSIONS";
inline constexpr std::string_view kLayerAxis = "AXIS";

// What the user is told when nothing has been calculated yet, or nothing since start-up.
std::string NothingToExportMessage(std::string_view path);

// The die's section of a Calculate in true units, y up, origin on the axis at the bottom face.
DxfDocument DxfDocumentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                          std::string_view designName);

// Writes the die's section of the last Calculate as DXF to path (atomically). Nothing on success;
// otherwise the message for the user, which names the file and what is wrong.
std::optional<std::string> ExportDxfFile(const Form1Model& model, std::string_view designName,
                                         const std::string& path);

// The title block of the last Calculate; scale and date are the sheet's.
TitleBlockContent TitleBlockOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                               std::string_view designName, std::string scale, std::string date);

} // namespace dieprofile

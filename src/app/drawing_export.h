// What the drawing's exports hold, laid out without a toolkit: the DXF for the machine shop, and
// what the drawing sheet's title block says. Both read the last Calculate, never the present
// fields.
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

// The die's section of a Calculate in true units, y up, origin on the axis at the bottom face.
DxfDocument DxfDocumentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                          std::string_view designName);

// The title block of the last Calculate; scale and date are the sheet's.
TitleBlockContent TitleBlockOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                               std::string_view designName, std::string scale, std::string date);

} // namespace dieprofile

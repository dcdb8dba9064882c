// The DXF of a calculated drawing, for the machine shop: the die's section in true units with the
// sheet's dimensions, or only the closed half profile a CAM program cuts from, either way up.
#pragma once

#include "output/design_file.h"
#include "output/dxf_writer.h"
#include "profile/calculated_drawing.h"

#include <optional>
#include <string_view>

namespace dieprofile {

// The DXF's layers.
inline constexpr std::string_view kLayerBoreProfile = "BORE_PROFILE";
inline constexpr std::string_view kLayerSection = "SECTION";
inline constexpr std::string_view kLayerWires = "WIRES";
inline constexpr std::string_view kLayerDimensions = "DIMENSIONS";
inline constexpr std::string_view kLayerAxis = "AXIS";

// What the DXF holds: the whole section (the bore's wall once for CAM, the other wall, the blank,
// the wires, the dimensions and the axis), or only the closed half profile a CAM program cuts
// from: the axis, mouth, bell, cone, bearing, back relief, exit and back along the axis.
enum class DxfProfile { Section, Half };
// Which way the die's axis runs: as drawn (the wire entering from the top), or horizontal with
// the wire entering from the left, as a lathe-type machine holds the die. The origin is on the
// axis at the exit face in both.
enum class DxfAxis { Vertical, Horizontal };

struct DxfExportOptions {
    DxfProfile Profile = DxfProfile::Section;
    DxfAxis Axis = DxfAxis::Vertical;
    bool operator==(const DxfExportOptions&) const = default;
};

// The command line's words for the choices: "section" or "half", "vertical" or "horizontal";
// nothing for any other word.
std::optional<DxfProfile> DxfProfileNamed(std::string_view word);
std::optional<DxfAxis> DxfAxisNamed(std::string_view word);

// The die's section of a Calculate in true units, origin on the axis at the bottom face: y up
// along the axis, or, with the horizontal axis, x along it towards the exit. Its DESIGN: text
// names the drawing by the identity's number, title and revision, and by the design's file.
DxfDocument DxfDocumentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                          std::string_view designName, const DxfExportOptions& options = {},
                          const DrawingIdentity& identity = {});

} // namespace dieprofile

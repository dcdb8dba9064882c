// What the drawing sheet of the last Calculate shows: the section, the blank, the inputs and
// results, who it is for and by, and what the design calls itself.
#pragma once

#include "output/design_file.h"
#include "output/sheet_layout.h"
#include "profile/calculated_drawing.h"

#include <string>
#include <string_view>

namespace dieprofile {

// The sheet of a Calculate. The design's own number, title and revision are used where it gives
// them; the number is otherwise the design file's name, the title the kind of drawing.
SheetContent SheetContentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                            std::string_view designName, const DrawingIdentity& identity,
                            const SheetDetails& details, Paper paper, std::string date);

} // namespace dieprofile

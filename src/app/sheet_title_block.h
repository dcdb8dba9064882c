// What the drawing sheet's title block says of the last Calculate, never of the present fields.
#pragma once

#include "output/title_block.h"
#include "profile/calculated_drawing.h"

#include <string>
#include <string_view>

namespace dieprofile {

// The title block of the last Calculate; scale and date are the sheet's.
TitleBlockContent TitleBlockOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                               std::string_view designName, std::string scale, std::string date);

} // namespace dieprofile

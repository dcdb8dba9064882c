#include "app/sheet_title_block.h"

#include "profile/form_design.h"
#include "profile/profile_figures.h"

namespace dieprofile {

TitleBlockContent TitleBlockOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                               std::string_view designName, std::string scale, std::string date) {
    TitleBlockContent content;
    content.DesignName = designName;
    content.Blank = drawn.Blank;
    // In the order the window lists them, top to bottom.
    for (const int index : {5, 10, 0, 1, 2, 3, 4, 8, 6, 7}) {
        const bool isLength = index == 5 || index == 10 || index == 0 || index == 1;
        content.Inputs.push_back({std::string(Text1Caption(index)),
                                  drawn.FieldTexts[static_cast<std::size_t>(index)], isLength});
    }
    content.Figures = FiguresOf(drawn.Profile, drawn.Frame, scene);
    content.DeltaValue = drawn.DeltaValue;
    content.AreaReduction = drawn.AreaReduction;
    content.UnitDivisor = drawn.UnitDivisor;
    content.Scale = std::move(scale);
    content.Date = std::move(date);
    return content;
}

} // namespace dieprofile

#include "app/sheet_content.h"

#include "app/drawing_export.h"
#include "core/file_name.h"
#include "core/message_text.h"
#include "output/design_file.h"

namespace dieprofile {

SheetContent SheetContentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                            std::string_view designName, const DrawingIdentity& identity,
                            const SheetDetails& details, Paper paper, std::string date) {
    SheetContent content;
    content.Section = SheetSectionOf(drawn.Frame, scene, drawn.Profile, drawn.UnitDivisor);
    content.Material = drawn.Blank;
    content.Results = ResultRows(TitleBlockOf(drawn, scene, designName, "", date));
    content.Details = details;
    content.Identity = identity;
    if (content.Identity.Number.empty()) {
        std::string name(designName);
        if (HasExtension(name, kDesignExtension.substr(1)) &&
            name.size() > kDesignExtension.size()) {
            name.resize(name.size() - kDesignExtension.size());
        }
        content.Identity.Number = name.empty() ? std::string(kNotSaved) : name;
    }
    if (content.Identity.Title.empty()) {
        content.Identity.Title = "Wire-drawing die";
    }
    content.DateOfIssue = std::move(date);
    content.Sheet = paper;
    return content;
}

} // namespace dieprofile

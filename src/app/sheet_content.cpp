#include "app/sheet_content.h"

#include "app/sheet_title_block.h"
#include "catalogue/catalogue.h"
#include "core/file_name.h"
#include "core/message_text.h"
#include "output/design_file.h"

#include <algorithm>

namespace dieprofile {

namespace {

// The bore's diameters, mouth to exit, beside the lengths of its zones; the bearing's with its
// tolerance.
void AddBoreDiameters(std::vector<TitleRow>& rows, const SheetContent& content) {
    const SheetSection& s = content.Section;
    const double unit = s.UnitDivisor;
    const std::string symbol(UnitSymbol(unit));
    const auto diameter = [&](double value) {
        return "\u00D8" + SheetLength(value, unit) + " " + symbol;
    };
    std::string bearing = "\u00D8" + SheetLength(2 * s.Wall[2].X, unit);
    if (content.Tolerance) {
        const std::array<std::string, 2> deviations = DeviationTexts(*content.Tolerance, unit);
        bearing += " " + deviations[0] + (deviations[1].empty() ? "" : "/" + deviations[1]);
    }
    const std::vector<TitleRow> diameters{
        {"Bell Mouth Diameter", diameter(2 * s.Wall[0].X)},
        {"Cone Entry Diameter", diameter(2 * s.Wall[1].X)},
        {"Bearing Diameter", bearing + " " + symbol},
        {"Exit Opening Diameter", diameter(2 * s.Wall[4].X)},
    };
    const auto after = std::ranges::find(rows, std::string("Exit Length"), &TitleRow::Caption);
    rows.insert(after == rows.end() ? after : after + 1, diameters.begin(), diameters.end());
}

} // namespace

SheetContent SheetContentOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                            std::string_view designName, const DrawingIdentity& identity,
                            const SheetDetails& details, Paper paper, std::string date) {
    SheetContent content;
    content.Section = SheetSectionOf(drawn.Frame, scene, drawn.Profile, drawn.UnitDivisor);
    content.Material =
        drawn.Blank == kCustomBlankRow
            ? "own blank " + BlankSize(content.Section.BlankDiameter, content.Section.BlankHeight,
                                       drawn.UnitDivisor)
            : drawn.Blank;
    content.Tolerance = ParseBearingTolerance(identity.BearingTolerance, drawn.UnitDivisor);
    content.Results = ResultRows(TitleBlockOf(drawn, scene, designName, "", date));
    AddBoreDiameters(content.Results, content);
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

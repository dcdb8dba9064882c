#include "output/title_block.h"

#include "core/message_text.h"
#include "core/number_text.h"
#include "core/units.h"

#include <array>
#include <cmath>

namespace dieprofile {

namespace {

std::string Length(double value, double unitDivisor) {
    return SheetLength(value, unitDivisor) + " " + std::string(UnitSymbol(unitDivisor));
}

// Where the wire meets the bore, and how far above the start of the bearing; a wire that meets
// neither bell nor cone has no meeting point (its lower end is one of an earlier Calculate).
void AddMeetingRows(std::vector<TitleRow>& rows, const MeetingPoint& meeting, double unitDivisor) {
    switch (meeting.Contact) {
    case WireContact::ReductionCone:
        rows.push_back({"Meeting Point", "on the reduction cone"});
        break;
    case WireContact::Bell:
        rows.push_back({"Meeting Point", "on the entrance bell"});
        break;
    case WireContact::WiderThanMouth:
        rows.push_back({"Meeting Point", "none: the wire is wider than the bell's mouth"});
        return;
    case WireContact::None:
        rows.push_back({"Meeting Point", "none: the wire meets neither bell nor cone"});
        return;
    }
    rows.push_back({"Above the Bearing", Length(meeting.AboveBearing, unitDivisor) + ", " +
                                             FormatNumber(meeting.PercentOfReduction, "0.#0") +
                                             " % of the reduction zone"});
}

// The figures of the finished profile; on a sheet, whole numbers without the window's point.
void AddResultRows(std::vector<TitleRow>& rows, const TitleBlockContent& content,
                   bool drafted = false) {
    const double unit = content.UnitDivisor;
    const ProfileFigures& f = content.Figures;
    const auto number = [drafted](std::string text) {
        return drafted ? WithoutTrailingPoint(std::move(text)) : text;
    };
    rows.push_back({"Entrance Length", Length(f.EntranceLength, unit)});
    rows.push_back({"Reduction Length", Length(f.ReductionLength, unit)});
    rows.push_back({"Bearing Length", Length(f.BearingLength, unit)});
    rows.push_back({"Exit Length", Length(f.ExitLength, unit)});
    rows.push_back({"Delta Value", number(content.DeltaValue)});
    rows.push_back({"Area Reduction", number(content.AreaReduction) + " %"});
    rows.push_back({"Elongation", number(FormatNumber(f.Elongation, kMaskThreePlaces)) + " %"});
    AddMeetingRows(rows, f.Meeting, unit);
}

} // namespace

std::string SheetLength(double value, double unitDivisor) {
    return FixedDecimals(value, unitDivisor == kInchUnitDivisor ? 4 : 3);
}

std::string SheetDegrees(double angle) {
    std::string text = FixedDecimals(angle, 2);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text + "\u00B0";
}

std::vector<TitleRow> TitleBlockRows(const TitleBlockContent& content) {
    const double unit = content.UnitDivisor;
    std::vector<TitleRow> rows;
    // A design never saved has no file name yet; the row says so instead of standing empty.
    rows.push_back(
        {"Design", content.DesignName.empty() ? std::string(kNotSaved) : content.DesignName});
    rows.push_back({"Wire Die Blank", content.Blank});
    for (const TitleInput& input : content.Inputs) {
        rows.push_back({input.Caption, input.IsLength
                                           ? input.Text + " " + std::string(UnitSymbol(unit))
                                           : input.Text});
    }
    AddResultRows(rows, content);
    rows.push_back({"Unit", std::string(UnitName(unit))});
    if (!content.Scale.empty()) {
        rows.push_back({"Scale", content.Scale});
    }
    rows.push_back({"Date", content.Date});
    return rows;
}

std::vector<TitleRow> ResultRows(const TitleBlockContent& content) {
    const double unit = content.UnitDivisor;
    std::vector<TitleRow> rows;
    for (const TitleInput& input : content.Inputs) {
        const std::optional<double> length =
            input.IsLength ? ParseNumber(input.Text) : std::nullopt;
        rows.push_back(
            {input.Caption, length ? Length(*length, unit) : WithoutTrailingPoint(input.Text)});
    }
    AddResultRows(rows, content, true);
    return rows;
}

} // namespace dieprofile

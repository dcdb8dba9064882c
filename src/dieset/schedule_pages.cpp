#include "dieset/schedule_pages.h"

#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "output/text_fit.h"
#include "profile/form_design.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace dieprofile {

namespace {

// A bold face is about this much wider than the regular one.
constexpr double kBoldWidth = 1.05;

constexpr double kMargin = 15;
constexpr double kText = 2.8;      // the inputs' lettering, em
constexpr double kTableText = 2.2; // the table's figures, em

constexpr PageColour kGrey = 0x444444;
constexpr PageColour kReductionColour = 0x2b6cb0;
constexpr PageColour kRatioColour = 0x202020;
constexpr PageColour kCautionColour = 0xd08000;
constexpr PageColour kBreakColour = 0xc01010;
constexpr PageColour kHeatColour = 0x8a3fa8;
constexpr PageColour kGridColour = 0xdddddd;
constexpr PageColour kRuleColour = 0xbbbbbb;
constexpr PageColour kWhite = 0xffffff;

double Advance(const std::string& text, double em) {
    return TextWidth(text, em * kCapHeightPerEm);
}

// "%.Ng": a figure as a reader writes it, to N significant digits.
std::string Significant(double value, int digits) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.*g", digits, value);
    return text.data();
}

void Put(Page& page, Point at, std::string text, double em, TextAlign align = TextAlign::Left,
         PageColour colour = kBlack, bool bold = false) {
    PageText put;
    put.At = at;
    put.Text = std::move(text);
    put.HeightMm = em * kCapHeightPerEm;
    put.Align = align;
    put.Bold = bold;
    put.Colour = colour;
    page.Texts.push_back(std::move(put));
}

void Rule(Page& page, Point from, Point to, double width, PageColour colour = kBlack,
          LineType type = LineType::Continuous) {
    page.Lines.push_back({from, to, width, type, colour});
}

void Fill(Page& page, double left, double top, double width, double height, PageColour colour) {
    page.Outlines.push_back(
        {{{left, top}, {left + width, top}, {left + width, top + height}, {left, top + height}},
         true,
         0,
         colour});
}

double LargestFinite(const std::vector<double>& values) {
    double largest = 0;
    for (double value : values) {
        if (std::isfinite(value)) {
            largest = std::max(largest, value);
        }
    }
    return largest;
}

// One chart: its frame inside the axes, its top value and its passes.
struct Chart {
    PlotBox Frame;
    double Top = 1;
    int Passes = 0;

    double X(int pass) const { // pass counts from 1; bars stand on whole passes
        return Frame.Left + Frame.Width * (pass - 0.5) / std::max(Passes, 1);
    }
    double Y(double value) const { return Bottom() - Frame.Height * value / Top; }
    double Bottom() const { return Frame.Top + Frame.Height; }
    double Right() const { return Frame.Left + Frame.Width; }
    double Slot() const { return Frame.Width / std::max(Passes, 1); }
};

Chart DrawChart(Page& page, const PlotBox& box, const std::string& title, double top, int passes,
                double em, bool passLabel) {
    const double axisRoom = Advance("0000.0", em) + em * 0.6;
    const double titleRoom = em * kLinePerEm * 1.3;
    const double bottomRoom = em * kLinePerEm * (passLabel ? 2.4 : 1.4);
    Chart chart;
    chart.Passes = passes;
    const std::vector<double> ticks = AxisTicks(top);
    chart.Top = ticks.back();
    chart.Frame = {box.Left + axisRoom, box.Top + titleRoom, box.Width - axisRoom - em * 0.8,
                   box.Height - titleRoom - bottomRoom};
    Put(page, {chart.Frame.Left, box.Top + em * kAscentPerEm}, title, em);

    const double thin = em / 14;
    const double tickLength = em * 0.35;
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1;
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    for (double tick : ticks) {
        const double y = chart.Y(tick);
        Rule(page, {chart.Frame.Left, y}, {chart.Right(), y}, thin, kGridColour);
        Rule(page, {chart.Frame.Left - tickLength, y}, {chart.Frame.Left, y}, thin);
        Put(page,
            {chart.Frame.Left - tickLength * 1.5, y + em * (kAscentPerEm - kDescentPerEm) / 2},
            FixedDecimals(tick, decimals), em, TextAlign::Right);
    }
    // Pass numbers: every pass while they fit, else every 2nd, 5th, 10th... pass.
    const double labelWidth = Advance("000", em) * 1.4;
    int every = 1;
    for (int factor : {1, 2, 5, 10, 20, 50, 100}) {
        every = factor;
        if (chart.Slot() * factor >= labelWidth) {
            break;
        }
    }
    for (int pass = 1; pass <= passes; ++pass) {
        const double x = chart.X(pass);
        const bool labelled = pass == 1 || pass % every == 0;
        Rule(page, {x, chart.Bottom()},
             {x, chart.Bottom() + (labelled ? tickLength : tickLength / 2)}, thin);
        if (labelled) {
            Put(page, {x, chart.Bottom() + tickLength + em * kAscentPerEm}, std::to_string(pass),
                em, TextAlign::Centre);
        }
    }
    if (passLabel) {
        Put(page,
            {chart.Frame.Left + chart.Frame.Width / 2,
             chart.Bottom() + tickLength + em * kLinePerEm + em * kAscentPerEm},
            "pass", em, TextAlign::Centre);
    }
    Rule(page, {chart.Frame.Left, chart.Bottom()}, {chart.Right(), chart.Bottom()}, thin);
    Rule(page, {chart.Frame.Left, chart.Bottom()}, {chart.Frame.Left, chart.Frame.Top}, thin);
    return chart;
}

void DrawBars(Page& page, const Chart& chart, const std::vector<double>& values,
              PageColour colour) {
    const double width = chart.Slot() * 0.6;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i])) {
            continue;
        }
        const double x = chart.X(static_cast<int>(i) + 1);
        const double y = chart.Y(std::clamp(values[i], 0.0, chart.Top));
        Fill(page, x - width / 2, y, width, chart.Bottom() - y, colour);
    }
}

void DrawDot(Page& page, Point centre, double radius, PageColour colour) {
    constexpr int kCorners = 16;
    PageOutline dot;
    for (int i = 0; i < kCorners; ++i) {
        const double angle = 2 * 3.14159265358979323846 * i / kCorners;
        dot.Corners.push_back(
            {centre.X + radius * std::cos(angle), centre.Y + radius * std::sin(angle)});
    }
    dot.Colour = colour;
    page.Outlines.push_back(std::move(dot));
}

// The legend of the ratio chart in its top right corner, on white so that it reads over the grid;
// its strokes are filled, so that they stand on the white.
void DrawLegend(Page& page, const Chart& ratio, double caution, double em) {
    const std::string breaks = "breaks (1.0)";
    const std::string cautionWords = "caution (" + Significant(caution, 3) + ")";
    const double width = 2 * (em * 3) + Advance(breaks, em) + Advance(cautionWords, em) + em;
    const double height = em * kLinePerEm * 1.3;
    const double left = ratio.Right() - width - em * 0.3;
    const double top = ratio.Frame.Top + em * 0.3;
    Fill(page, left, top, width, height, kWhite);
    const double y = top + (height + em * kAscentPerEm) / 2 - em * kDescentPerEm;
    const double stroke = em / 8;
    const double strokeY = y - em * kAscentPerEm / 3 - stroke / 2;
    double x = left + em * 0.5;
    Fill(page, x, strokeY, em * 1.6, stroke, kBreakColour);
    Put(page, {x + em * 2, y}, breaks, em);
    x += em * 2 + Advance(breaks, em) + em;
    Fill(page, x, strokeY, em * 0.7, stroke, kCautionColour);
    Fill(page, x + em * 0.9, strokeY, em * 0.7, stroke, kCautionColour);
    Put(page, {x + em * 2, y}, cautionWords, em);
}

std::string ScheduleText(const DieSetFile& set, std::size_t passes) {
    switch (set.Schedule) {
    case ScheduleKind::Equal:
        return "equal reductions over " + set.Dies + " dies";
    case ScheduleKind::Reduction:
        return "the fewest dies with a reduction of at most " + set.Percent +
               " %: " + std::to_string(passes) + " dies";
    case ScheduleKind::Diameters:
        return "outlets as typed: " + std::to_string(passes) + " dies";
    }
    return {};
}

struct InputRow {
    std::string Caption;
    std::string Value;
};

// The inputs as the first page lists them, in the order of the set's fields: caption and value,
// each as typed; then the die's fields under the designed window's captions (a catalogue blank
// brings its own diamond, so the typed one is not listed with it), then each pass whose die has
// values of its own, starred as in the table.
std::vector<InputRow> InputRows(const DieSetFile& set, double caution,
                                const DieSetSchedule& schedule) {
    std::vector<InputRow> rows;
    for (const DieSetFieldEntry& entry : DieSetFields()) {
        switch (entry.Field) {
        case DieSetField::Dies:
            rows.push_back({"Schedule", ScheduleText(set, schedule.Passes.size())});
            break;
        case DieSetField::RoundingStep:
            // Rounded outlets are not those the schedule computes: the page says so.
            if (set.Rounding == RoundingKind::Step) {
                rows.push_back({"Rounding", "outlets to a step of " + set.RoundingStep + " " +
                                                set.Unit + ", the finish exact"});
            } else if (set.Rounding == RoundingKind::Sizes) {
                rows.push_back({"Rounding", "outlets to the nearest of " +
                                                std::to_string(set.RoundingSizes.size()) +
                                                " sizes kept, the finish exact"});
            }
            break;
        case DieSetField::StrengthCoefficient:
            rows.push_back(
                {"Material", set.MaterialName.empty() ? "typed values" : set.MaterialName});
            break;
        case DieSetField::Blank:
            rows.push_back({"Caution at stress ratio", Significant(caution, 4)});
            rows.push_back({"Die blank", set.Blank == kCustomBlankRow ? "own blank" : set.Blank});
            break;
        default:
            break;
        }
        if (!entry.PageCaption.empty()) {
            const std::string_view unit = entry.Unit == kSetLengthUnit ? set.Unit : entry.Unit;
            rows.push_back({std::string(entry.PageCaption),
                            set.*entry.Text + (unit.empty() ? "" : " " + std::string(unit))});
        }
    }
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        const bool diamond = IsDiamondField(i);
        if (diamond && set.Blank != kCustomBlankRow) {
            continue;
        }
        rows.push_back({std::string(Text1Caption(kSetDieFields[i].Text1Index)),
                        set.DieFieldTexts[i] + (diamond ? " " + set.Unit : "")});
    }
    for (const DieSetPass& pass : schedule.Passes) {
        if (std::string own = OwnValuesText(set, pass.Pass); !own.empty()) {
            rows.push_back({"Pass " + std::to_string(pass.Pass) + "* of its own", std::move(own)});
        }
    }
    return rows;
}

Page HeadedPage(const PaperSize& size, const std::string& title, const std::string& right) {
    Page page;
    page.WidthMm = size.WidthMm;
    page.HeightMm = size.HeightMm;
    Put(page, {kMargin, kMargin + 4}, title, 5, TextAlign::Left, kBlack, true);
    Put(page, {page.WidthMm - kMargin, kMargin + 4}, right, kText, TextAlign::Right);
    Rule(page, {kMargin, kMargin + 7}, {page.WidthMm - kMargin, kMargin + 7}, 0.4);
    return page;
}

void LayOutOverview(Page& page, const DieSetFile& set, double caution,
                    const DieSetSchedule& schedule) {
    const double top = kMargin + 13;
    const std::vector<InputRow> rows = InputRows(set, caution, schedule);
    double captionWidth = 0;
    for (const InputRow& row : rows) {
        captionWidth = std::max(captionWidth, Advance(row.Caption, kText));
    }
    const double valueLeft = kMargin + captionWidth + 4;
    const double columnWidth = std::min(page.WidthMm * 0.38, valueLeft - kMargin + 90);
    const double line = kText * kLinePerEm;
    double y = top;
    for (const InputRow& row : rows) {
        Put(page, {kMargin, y + kText * kAscentPerEm}, row.Caption, kText, TextAlign::Left, kGrey);
        const std::vector<std::string> lines =
            Wrap(row.Value, kText * kCapHeightPerEm, kMargin + columnWidth - valueLeft, 12);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            Put(page, {valueLeft, y + kText * kAscentPerEm + line * static_cast<double>(i)},
                lines[i], kText);
        }
        y += line * static_cast<double>(std::max<std::size_t>(lines.size(), 1)) + 1.4;
    }
    const double left = kMargin + columnWidth + 10;
    LayOutSetPlot(page, {left, top, page.WidthMm - kMargin - left, page.HeightMm - top - kMargin},
                  PlotDataOf(schedule, caution), kText);
}

// The table's columns: the pass, its marks, then the CSV's columns after the pass.
struct TableCell {
    std::string Text;
    bool Right = true;
};

std::vector<std::vector<std::string>> Headings(double unitDivisor) {
    std::vector<std::vector<std::string>> headings;
    const auto columns = PassColumns();
    headings.push_back(PassColumnHeadingLines(columns.front(), unitDivisor));
    headings.push_back({"Marks"});
    for (std::size_t i = 1; i < columns.size(); ++i) {
        headings.push_back(PassColumnHeadingLines(columns[i], unitDivisor));
    }
    return headings;
}

std::vector<TableCell> RowOf(const DieSetFile& set, const DieSetPass& pass, double caution,
                             double unitDivisor) {
    const auto columns = PassColumns();
    std::vector<TableCell> row;
    const bool own = !OwnValuesOf(set, pass.Pass).empty();
    row.push_back({std::to_string(pass.Pass) + (own ? "*" : ""), true});
    row.push_back({MarkWords(pass, caution), false});
    for (std::size_t i = 1; i < columns.size(); ++i) {
        row.push_back({PassColumnCell(columns[i], pass, unitDivisor),
                       columns[i].Kind != PassColumnKind::YesNo});
    }
    return row;
}

void LayOutTable(std::vector<Page>& pages, const PaperSize& size, const DieSetFile& set,
                 const DieSetSchedule& schedule, double caution, const std::string& title,
                 const std::string& right) {
    const double divisor = schedule.Inputs.UnitDivisor;
    const std::vector<std::vector<std::string>> headings = Headings(divisor);
    std::vector<std::vector<TableCell>> rows;
    for (const DieSetPass& pass : schedule.Passes) {
        rows.push_back(RowOf(set, pass, caution, divisor));
    }
    const double width = size.WidthMm - 2 * kMargin;
    // The largest lettering from 2.2 mm down to 1.2 mm at which every column fits; the spare width
    // goes to every column alike.
    std::vector<double> widths(headings.size(), 0);
    double em = kTableText;
    for (int tenths = 22; tenths >= 12; tenths -= 2) {
        em = tenths / 10.0;
        double total = 0;
        for (std::size_t column = 0; column < headings.size(); ++column) {
            double widest = 0;
            for (const std::string& heading : headings[column]) {
                widest = std::max(widest, Advance(heading, em) * kBoldWidth);
            }
            for (const auto& row : rows) {
                widest = std::max(widest, Advance(row[column].Text, em));
            }
            widths[column] = widest + em;
            total += widest + em;
        }
        if (total <= width) {
            for (double& column : widths) {
                column += (width - total) / static_cast<double>(widths.size());
            }
            break;
        }
    }
    // A heading wider than its column takes more lines, broken at words.
    std::vector<std::vector<std::string>> headingLines;
    std::size_t mostLines = 1;
    for (std::size_t column = 0; column < headings.size(); ++column) {
        std::vector<std::string> lines;
        for (const std::string& heading : headings[column]) {
            for (std::string& line :
                 Wrap(heading, em * kCapHeightPerEm * kBoldWidth, widths[column] - em / 2, 4)) {
                lines.push_back(std::move(line));
            }
        }
        mostLines = std::max(mostLines, lines.size());
        headingLines.push_back(std::move(lines));
    }
    const double line = em * kLinePerEm;
    const double rowHeight = em * 1.6;
    const double headingHeight = line * static_cast<double>(mostLines) + em;
    const double top = kMargin + 13;
    std::size_t next = 0;
    do {
        Page page = HeadedPage(size, title, right);
        double x = kMargin;
        for (std::size_t column = 0; column < headings.size(); ++column) {
            const auto& lines = headingLines[column];
            const double first =
                top + (headingHeight - line * static_cast<double>(lines.size())) / 2;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                Put(page,
                    {x + widths[column] / 2,
                     first + line * static_cast<double>(i) + em * kAscentPerEm},
                    lines[i], em, TextAlign::Centre, kBlack, true);
            }
            x += widths[column];
        }
        double y = top + headingHeight;
        Rule(page, {kMargin, y}, {kMargin + width, y}, 0.3);
        std::vector<std::string> notes;
        for (; next < rows.size(); ++next) {
            const DieSetPass& pass = schedule.Passes[next];
            std::string note = OwnValuesText(set, pass.Pass);
            const auto lines = static_cast<double>(notes.size() + (note.empty() ? 0 : 1));
            const double noteSpace = lines > 0 ? (lines + 0.5) * line : 0;
            // A page holds at least one row, so that a page too small still ends.
            if (y + rowHeight + noteSpace > page.HeightMm - kMargin && y > top + headingHeight) {
                break;
            }
            if (!note.empty()) {
                notes.push_back(std::to_string(pass.Pass) + "* die of its own: " + note);
            }
            const std::vector<PassMark> marks = MarksOf(pass, caution);
            // The bell is the die's own warning; the row takes the worst of the others.
            if (!marks.empty() && marks.front() != PassMark::BellContact) {
                Fill(page, kMargin, y, width, rowHeight, MarkTint(marks.front()));
            }
            x = kMargin;
            for (std::size_t column = 0; column < rows[next].size(); ++column) {
                const TableCell& cell = rows[next][column];
                const double baseline = y + (rowHeight + em * kAscentPerEm) / 2 - 0.2;
                Put(page, {cell.Right ? x + widths[column] - em / 2 : x + em / 2, baseline},
                    cell.Text, em, cell.Right ? TextAlign::Right : TextAlign::Left);
                x += widths[column];
            }
            y += rowHeight;
            Rule(page, {kMargin, y}, {kMargin + width, y}, 0.1, kRuleColour);
        }
        y += line * 0.5;
        for (std::string& note : notes) {
            Put(page, {kMargin, y + em * kAscentPerEm}, std::move(note), em);
            y += line;
        }
        pages.push_back(std::move(page));
    } while (next < rows.size());
}

} // namespace

std::vector<PassMark> MarksOf(const DieSetPass& pass, double caution) {
    std::vector<PassMark> marks;
    if (!pass.Problem.empty()) {
        marks.push_back(PassMark::DieRefused);
    }
    if (pass.Breaks()) {
        marks.push_back(PassMark::Breaks);
    } else if (caution > 0 && pass.StressRatio > caution) {
        marks.push_back(PassMark::Caution);
    }
    if (pass.Die.Calculated && pass.Die.BellContact) {
        marks.push_back(PassMark::BellContact);
    }
    return marks;
}

std::string MarkWords(const DieSetPass& pass, double caution) {
    std::string words;
    for (PassMark mark : MarksOf(pass, caution)) {
        words += words.empty() ? "" : ", ";
        switch (mark) {
        case PassMark::DieRefused:
            words += "not calculated";
            break;
        case PassMark::Breaks:
            words += "breaks";
            break;
        case PassMark::Caution:
            words += "caution";
            break;
        case PassMark::BellContact:
            words += "bell";
            break;
        case PassMark::None:
            break;
        }
    }
    return words;
}

PageColour MarkTint(PassMark mark) {
    switch (mark) {
    case PassMark::DieRefused:
        return 0xdddddd;
    case PassMark::Breaks:
        return 0xf4b4b4;
    case PassMark::Caution:
        return 0xfbe3a8;
    case PassMark::BellContact:
        return 0xc8dcf4;
    case PassMark::None:
        break;
    }
    return kWhite;
}

std::string OwnValuesText(const DieSetFile& set, int pass) {
    std::string text;
    for (const OwnValue& value : OwnValuesOf(set, pass)) {
        text += (text.empty() ? "" : ", ") + std::string(value.Caption) + " " + value.Text;
    }
    return text;
}

std::vector<std::string> PassColumnHeadingLines(const PassColumn& column, double unitDivisor) {
    const std::string heading = PassColumnHeading(column, unitDivisor);
    const std::size_t unit = heading.find(" (");
    std::vector<std::string> lines;
    std::string_view words(heading.data(), std::min(unit, heading.size()));
    while (!words.empty()) {
        const std::size_t space = words.find(' ');
        const std::string_view word = words.substr(0, space);
        words = space == std::string_view::npos ? std::string_view{} : words.substr(space + 1);
        if (!lines.empty() && lines.back().size() + 1 + word.size() <= 10) {
            lines.back() += " " + std::string(word);
        } else {
            lines.emplace_back(word);
        }
    }
    if (unit != std::string::npos) {
        lines.push_back(heading.substr(unit + 1));
    }
    return lines;
}

SetPlotData PlotDataOf(const DieSetSchedule& schedule, double caution) {
    SetPlotData data;
    data.Caution = caution;
    for (const DieSetPass& pass : schedule.Passes) {
        data.ReductionPercent.push_back(pass.AreaReduction * 100);
        data.StressRatio.push_back(pass.StressRatio);
        data.TemperatureRiseK.push_back(pass.TemperatureRise);
    }
    return data;
}

std::vector<double> AxisTicks(double top) {
    if (!std::isfinite(top) || top <= 0) {
        top = 1;
    }
    const double rough = top / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    std::vector<double> ticks;
    for (int i = 0;; ++i) {
        ticks.push_back(i * step);
        if (i * step >= top * (1 - 1e-12)) {
            break;
        }
    }
    return ticks;
}

void LayOutSetPlot(Page& page, const PlotBox& box, const SetPlotData& data, double em) {
    const int passes = static_cast<int>(std::max(
        {data.ReductionPercent.size(), data.StressRatio.size(), data.TemperatureRiseK.size()}));
    const double height = box.Height / 3;
    auto third = [&](int index) {
        return PlotBox{box.Left, box.Top + height * index, box.Width, height};
    };

    const Chart reduction =
        DrawChart(page, third(0), "Area reduction, %",
                  std::max(LargestFinite(data.ReductionPercent) * 1.1, 1.0), passes, em, false);
    DrawBars(page, reduction, data.ReductionPercent, kReductionColour);

    const double ratioTop =
        std::max({LargestFinite(data.StressRatio) * 1.1, data.Caution * 1.1, 1.1});
    const Chart ratio = DrawChart(page, third(1), "Stress ratio (drawing stress / flow stress)",
                                  ratioTop, passes, em, false);
    const double stroke = em / 8;
    Rule(page, {ratio.Frame.Left, ratio.Y(1.0)}, {ratio.Right(), ratio.Y(1.0)}, stroke,
         kBreakColour);
    const bool caution = data.Caution > 0 && std::isfinite(data.Caution);
    if (caution) {
        Rule(page, {ratio.Frame.Left, ratio.Y(data.Caution)},
             {ratio.Right(), ratio.Y(data.Caution)}, stroke, kCautionColour, LineType::Dashed);
    }
    // The ratio's line, broken where a pass has none, and a dot on every pass in its mark's colour.
    std::optional<Point> previous;
    const double dot = std::min(em / 3, ratio.Slot() / 3);
    for (std::size_t i = 0; i < data.StressRatio.size(); ++i) {
        const double value = data.StressRatio[i];
        if (!std::isfinite(value)) {
            previous.reset();
            continue;
        }
        const Point point{ratio.X(static_cast<int>(i) + 1),
                          ratio.Y(std::clamp(value, 0.0, ratio.Top))};
        if (previous) {
            Rule(page, *previous, point, stroke, kRatioColour);
        }
        previous = point;
        const PageColour colour = value >= 1                        ? kBreakColour
                                  : caution && value > data.Caution ? kCautionColour
                                                                    : kRatioColour;
        DrawDot(page, point, dot, colour);
    }
    DrawLegend(page, ratio, data.Caution, em);

    const Chart heat =
        DrawChart(page, third(2), "Temperature rise, K",
                  std::max(LargestFinite(data.TemperatureRiseK) * 1.1, 1.0), passes, em, true);
    DrawBars(page, heat, data.TemperatureRiseK, kHeatColour);
}

std::vector<Page> SchedulePages(const DieSetFile& set, const DieSetSchedule& schedule,
                                const SchedulePagesRequest& request) {
    const PaperSize size = LandscapeSize(request.SheetPaper);
    const std::string title = "Die set " + request.SetName;
    const std::string right = std::to_string(schedule.Passes.size()) + " passes, " +
                              set.StartDiameter + " to " + set.FinishDiameter + " " + set.Unit +
                              "   " + request.Date;
    std::vector<Page> pages{HeadedPage(size, title, right)};
    LayOutOverview(pages.front(), set, request.Caution, schedule);
    LayOutTable(pages, size, set, schedule, request.Caution, title, right);
    return pages;
}

} // namespace dieprofile

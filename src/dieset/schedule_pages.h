// The die set's schedule on paper, laid out as pages free of any toolkit: the first page lists
// the inputs beside the plot, the next ones the table of passes with the notes of the passes whose
// die has values of its own. The plot is laid out by the same routine for the window, in pixels.
#pragma once

#include "dieset/die_set.h"
#include "output/page.h"
#include "output/paper.h"

#include <string>
#include <vector>

namespace dieprofile {

// What can be wrong with a pass, worst first; a row shows the worst in its tint.
enum class PassMark { None, DieRefused, Breaks, Caution, BellContact };

// The marks of a pass, worst first.
std::vector<PassMark> MarksOf(const DieSetPass& pass, double caution);
// The marks column's words for a pass ("not calculated, breaks"), empty when it is sound.
std::string MarkWords(const DieSetPass& pass, double caution);
PageColour MarkTint(PassMark mark);

// A pass's own values in one line: "Bearing Length 60, Reduction Angle 20"; empty for the set's.
std::string OwnValuesText(const DieSetFile& set, int pass);

// The heading of a column as the tables set it: words joined up to ten characters a line, the
// unit on a line of its own ("Area", "reduction", "(%)").
std::vector<std::string> PassColumnHeadingLines(const PassColumn& column, double unitDivisor);

// What the plot shows; a figure that is not finite (a pass that could not be computed) is left out.
struct SetPlotData {
    std::vector<double> ReductionPercent;
    std::vector<double> StressRatio;
    std::vector<double> TemperatureRiseK;
    double Caution = 0;
};
SetPlotData PlotDataOf(const DieSetSchedule& schedule, double caution);

// Tick values for an axis from 0 to at least top: a step of 1, 2 or 5 times a power of ten, about
// five ticks; the last tick is the axis's end.
std::vector<double> AxisTicks(double top);

// Lays out the three charts (area reduction, stress ratio against the caution and breaking
// levels, temperature rise) over one pass axis in the box, with lettering em high, all in the
// page's units (millimetres on paper, pixels on the window).
struct PlotBox {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};
void LayOutSetPlot(Page& page, const PlotBox& box, const SetPlotData& data, double em);

struct SchedulePagesRequest {
    double Caution = kDefaultCautionRatio;
    std::string SetName; // the set file's name; empty while it has none
    Paper SheetPaper = Paper::A4;
    std::string Date; // ISO 8601, in the heading of every page
};
// The schedule's pages on the paper, landscape: the inputs and the plot, then the table.
std::vector<Page> SchedulePages(const DieSetFile& set, const DieSetSchedule& schedule,
                                const SchedulePagesRequest& request);

} // namespace dieprofile

// The inspection's report on paper: the design's bore and the measured points over it at a stated
// scale, the deviations drawn exaggerated along the wall's normal by a stated factor with the
// tolerance band at the same factor, the meeting point and the wear ring marked; the table of the
// report's figures with the verdict; the sheet's frame and title block. The window paints the same
// plot from the same layout.
#pragma once

#include "inspection/inspection.h"
#include "output/page.h"
#include "output/sheet_layout.h"

#include <string>

namespace dieprofile {

// A part of the paper, in millimetres from its top-left corner.
struct PaperArea {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

// How the plot is drawn: the bore at Scale, the deviations Exaggeration times their size.
struct InspectionPlotScale {
    SheetScale Scale;
    double Exaggeration = 1;
    std::string Text() const; // "scale 20:1, deviations ×200"
};

// The scale that fits the bore in the area (from the drafting series) and the exaggeration (1, 2
// or 5 times a power of ten) that shows the largest deviation, or the band, a few millimetres
// wide on paper.
InspectionPlotScale InspectionPlotScaleFor(const InspectionDesign& design,
                                           const Inspection& inspection, const PaperArea& area);

// The plot laid on the page inside the area: both walls of the design, the axis, the band and
// the points exaggerated (a point beyond the band drawn heavier; at most one a cell of a third of
// a millimetre, the worst of it), the marks, and the scale's statement at the foot. With recut,
// that wall too (a recut's), its distance from the design's exaggerated as the points' are.
void LayOutInspectionPlot(Page& page, const PaperArea& area, const InspectionDesign& design,
                          const Inspection& inspection, const BoreWall* recut = nullptr);

// What the report's page states beside the figures.
struct InspectionReportContent {
    SheetContent Sheet;       // the design's title block: paper, unit, drawing number, issue date
    std::string MeasuredName; // the measured file's name
    std::string MeasuredDate; // its date, ISO 8601
};

// The report's one landscape page.
Page LayOutInspectionReport(const InspectionReportContent& content, const InspectionDesign& design,
                            const Inspection& inspection);

// A figure as the report's table writes it: degrees with 2 decimals, a count whole, a length
// with 5 decimals in inches and 4 in millimetres; empty for none.
std::string ReportFigureText(const std::optional<double>& value, const std::string& unit);
// A figure's name as the table writes it: "reduction_angle_deg" as "reduction angle" (the unit
// has its column).
std::string ReportFigureWords(std::string quantity);

} // namespace dieprofile

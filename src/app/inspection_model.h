// The inspection window without a toolkit: the measured file it holds, the options (tolerance,
// walls, the axis fitted, a DXF's layer), the inspection against the designed window's last
// calculated design, and its commands (Open Measured…, Export Report…). The window binds to it;
// the command line and the headless driver call the same commands.
#pragma once

#include "app/export.h"
#include "app/form_model.h"
#include "app/toolkit.h"
#include "inspection/inspection.h"
#include "output/page.h"
#include "output/paper.h"

#include <cstddef>
#include <optional>
#include <string>

namespace dieprofile {

// The design an inspection holds the measured bore against: the window's last Calculate, refused
// as the exports refuse it (nothing drawn yet, a profile that cannot be made).
Expected<InspectionDesign> InspectionDesignOf(const Form1Model& model);

// "Cannot inspect "NAME": REASON." (a reason ending in a question keeps its mark).
std::string CannotInspect(std::string_view path, std::string_view reason);

class InspectionModel {
public:
    InspectionModel(Toolkit& toolkit, const Form1Model& design);

    // Open Measured… (or a file dropped on the window): reads the file and inspects it against
    // the designed window's last Calculate. A refusal is one message naming the file, and what
    // the window showed stays. True when inspected.
    bool OpenMeasured(const std::string& path);
    // The options: each inspects the file held again; a refusal keeps the options as they were.
    // The tolerance as typed, in the design's unit: empty for none.
    bool SetToleranceText(const std::string& text);
    bool SetWalls(InspectedWalls walls);
    bool SetFitAxis(bool fit);
    // A DXF's layer (empty: every layer); taken when the next file is opened.
    void SetLayer(std::string layer) { layer_ = std::move(layer); }

    // The report's paper (landscape).
    void SetPaper(Paper paper) { paper_ = paper; }

    // Export Report…: the CSV (.csv) or the PDF (.pdf, painted by the painters) by the extension,
    // written as every file is; never over the measured file or the design. A refusal is a
    // message; true when written.
    bool ExportReport(const std::string& path, ExportPainters* painters = nullptr);
    // Every point's deviation, x,y,zone,deviation, to a .csv.
    bool ExportDeviations(const std::string& path);

    // The report's page, issued on date (ISO 8601; empty: today); nothing while nothing is
    // inspected.
    std::optional<Page> ReportPage(std::string date = {}) const;

    // Whether anything may be written to path, or why not (nothing inspected, the measured file
    // or the design itself, not a .csv or, for the report, a .pdf).
    Expected<void, ExportRefusal> CheckWrite(const std::string& path, bool pdf = false) const;

    const std::optional<Inspection>& Result() const { return result_; }
    // How many inspections the model has made: what is worked out from one (a recut) holds only
    // until the next.
    std::size_t Inspections() const { return inspections_; }
    const std::optional<InspectionDesign>& Design() const { return design_; }
    const InspectionOptions& Options() const { return options_; }
    const std::string& MeasuredPath() const { return measuredPath_; }
    // The verdict's line; empty while nothing is inspected.
    std::string Verdict() const;
    // The report's CSV; empty while nothing is inspected.
    std::string ReportCsv() const;

private:
    // Inspects these points with these options; on refusal a message and nothing changes.
    bool Inspect(const std::string& path, MeasuredPoints points, const InspectionOptions& options);
    // The file held inspected again with other options; without one the options are kept.
    bool Reinspect(const InspectionOptions& options);
    bool Write(const std::string& path, const std::string& bytes, bool pdf = false);

    Toolkit& toolkit_;
    const Form1Model& window_;
    InspectionOptions options_;
    std::string layer_;
    std::string measuredPath_;
    std::string measuredDate_;
    Paper paper_ = Paper::A4;
    std::optional<MeasuredPoints> measured_;
    std::optional<InspectionDesign> design_;
    std::optional<Inspection> result_;
    std::size_t inspections_ = 0;
};

} // namespace dieprofile

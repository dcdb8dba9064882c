#include "app/inspection_model.h"

#include "app/export.h"
#include "app/sheet_content.h"
#include "core/file_name.h"
#include "core/message_text.h"
#include "inspection/report_page.h"
#include "output/atomic_file.h"
#include "output/overlay_options.h"
#include "profile/profile_figures.h"

#include <sys/stat.h>

#include <cmath>
#include <filesystem>

namespace dieprofile {

Expected<InspectionDesign> InspectionDesignOf(const Form1Model& model) {
    if (Expected<void> drawing = CheckDrawing(model); !drawing) {
        return drawing.Error();
    }
    const std::optional<CalculatedDrawing>& drawn = model.LastCalculation();
    InspectionDesign design;
    design.Wall = BoreWallOf(drawn->Frame, drawn->Scene, BoreSide::Right);
    design.UnitDivisor = drawn->UnitDivisor;
    const MeetingPoint meeting = MeetingPointOf(drawn->Frame, drawn->Scene);
    if (meeting.Contact == WireContact::ReductionCone || meeting.Contact == WireContact::Bell) {
        design.MeetingPointAboveBearing = meeting.AboveBearing;
    }
    return design;
}

std::string CannotInspect(std::string_view path, std::string_view reason) {
    const std::string name = std::filesystem::path(path).filename().string();
    return "Cannot inspect " + QuotedForMessage(name.empty() ? path : name) + ": " +
           std::string(reason) + (reason.ends_with('?') ? "" : ".");
}

InspectionModel::InspectionModel(Toolkit& toolkit, const Form1Model& design)
    : toolkit_(toolkit), window_(design) {}

bool InspectionModel::Inspect(const std::string& path, MeasuredPoints points,
                              const InspectionOptions& options) {
    Expected<InspectionDesign> design = InspectionDesignOf(window_);
    if (!design) {
        toolkit_.ShowMessage(CannotInspect(path, design.Error().Message));
        return false;
    }
    Expected<Inspection> inspected = InspectDie(*design, points, options);
    if (!inspected) {
        toolkit_.ShowMessage(CannotInspect(path, inspected.Error().Message));
        return false;
    }
    design_ = *std::move(design);
    result_ = *std::move(inspected);
    ++inspections_;
    measured_ = std::move(points);
    measuredPath_ = path;
    options_ = options;
    return true;
}

bool InspectionModel::OpenMeasured(const std::string& path) {
    MeasuredRead read = ReadMeasuredFile(path, layer_);
    if (!read) {
        toolkit_.ShowMessage(CannotInspect(path, read.Error().Message));
        return false;
    }
    if (!Inspect(path, *std::move(read), options_)) {
        return false;
    }
    // The day the die was measured, as the file has it, for the report's title.
    struct stat status {};
    measuredDate_ = ::stat(path.c_str(), &status) == 0 ? IsoDate(status.st_mtime) : "";
    return true;
}

bool InspectionModel::SetToleranceText(const std::string& text) {
    InspectionOptions options = options_;
    if (text.find_first_not_of(' ') == std::string::npos) {
        options.Tolerance.reset();
    } else {
        // The same band, read by the same rule, as the projector chart's.
        const Expected<OverlayOptions> read = ParseOverlayOptions("1", text, OverlayView::Bore);
        if (!read) {
            toolkit_.ShowMessage(read.Error().Message);
            return false;
        }
        options.Tolerance = read->Tolerance;
    }
    return Reinspect(options);
}

bool InspectionModel::SetWalls(InspectedWalls walls) {
    InspectionOptions options = options_;
    options.Walls = walls;
    return Reinspect(options);
}

bool InspectionModel::SetFitAxis(bool fit) {
    InspectionOptions options = options_;
    options.FitAxis = fit;
    return Reinspect(options);
}

bool InspectionModel::Reinspect(const InspectionOptions& options) {
    if (!measured_) {
        options_ = options;
        return true;
    }
    return Inspect(measuredPath_, *measured_, options);
}

std::string InspectionModel::Verdict() const {
    return result_ ? VerdictLine(*design_, *result_) : std::string();
}

std::string InspectionModel::ReportCsv() const {
    return result_ ? InspectionCsv(*design_, *result_) : std::string();
}

Expected<void, ExportRefusal> InspectionModel::CheckWrite(const std::string& path, bool pdf) const {
    const auto refuse = [&path](std::string_view reason, bool usage) {
        return ExportRefusal{CannotExport(path, reason), usage};
    };
    if (!result_) {
        return refuse("no measured file is inspected yet. Open Measured… first", false);
    }
    if (IsSameFile(path, measuredPath_)) {
        return refuse(
            "it is the measured file " +
                QuotedForMessage(std::filesystem::path(measuredPath_).filename().string()) +
                " itself",
            true);
    }
    if (!window_.DesignPath().empty() && IsSameFile(path, window_.DesignPath())) {
        return refuse("it is the design file " + QuotedForMessage(window_.DesignName()) + " itself",
                      true);
    }
    if (ExtensionOf(path) != (pdf ? "pdf" : "csv")) {
        return refuse(pdf ? "the file name must end in .pdf or .csv"
                          : "the file name must end in .csv",
                      true);
    }
    return Done{};
}

bool InspectionModel::Write(const std::string& path, const std::string& bytes, bool pdf) {
    Expected<void, ExportRefusal> written = CheckWrite(path, pdf);
    if (written) {
        if (const Expected<void> stored = WriteFileAtomically(path, bytes); !stored) {
            written = ExportRefusal{CannotExport(path, stored.Error().Message), false};
        }
    }
    if (!written) {
        toolkit_.ShowMessage(written.Error().Message);
    }
    return written.HasValue();
}

std::optional<Page> InspectionModel::ReportPage(std::string date) const {
    const std::optional<CalculatedDrawing>& drawn = window_.LastCalculation();
    if (!result_ || !drawn) {
        return std::nullopt;
    }
    InspectionReportContent content;
    content.Sheet =
        SheetContentOf(*drawn, drawn->Scene, window_.DesignName(), window_.Identity(), {}, paper_,
                       date.empty() ? IsoDate(std::time(nullptr)) : std::move(date));
    content.MeasuredName = std::filesystem::path(measuredPath_).filename().string();
    content.MeasuredDate = measuredDate_;
    return LayOutInspectionReport(content, *design_, *result_);
}

bool InspectionModel::ExportReport(const std::string& path, ExportPainters* painters) {
    if (ExtensionOf(path) == "csv") {
        return Write(path, ReportCsv());
    }
    if (const Expected<void, ExportRefusal> may = CheckWrite(path, true); !may) {
        toolkit_.ShowMessage(may.Error().Message);
        return false;
    }
    const std::optional<Page> page = ReportPage();
    Rendering pdf = Refusal{"the PDF cannot be made without the window's painters"};
    if (painters != nullptr && page) {
        pdf = painters->Pdf({*page}, "Inspection report: " +
                                         std::filesystem::path(measuredPath_).filename().string());
    }
    if (!pdf) {
        toolkit_.ShowMessage(CannotExport(path, pdf.Error().Message));
        return false;
    }
    return Write(path, *pdf, true);
}

bool InspectionModel::ExportDeviations(const std::string& path) {
    return Write(path, result_ ? DeviationsCsv(*result_) : std::string());
}

} // namespace dieprofile

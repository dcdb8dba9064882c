#include "app/export.h"

#include "app/sheet_content.h"
#include "core/message_text.h"
#include "output/atomic_file.h"
#include "output/dxf_drawing.h"
#include "output/dxf_writer.h"
#include "output/overlay_layout.h"
#include "profile/profile_figures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>

namespace dieprofile {

std::optional<ExportFormat> ExportFormatOf(std::string_view path) {
    const std::string extension = ExtensionOf(path);
    if (extension == "pdf") {
        return ExportFormat::Pdf;
    }
    if (extension == "svg") {
        return ExportFormat::Svg;
    }
    if (extension == "dxf") {
        return ExportFormat::Dxf;
    }
    return std::nullopt;
}

bool ToleranceWiderThanDie(double tolerance, const CalculatedDrawing& drawn) {
    return 2 * tolerance > drawn.Profile.DiamondDiameter;
}

std::string IsoDate(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    std::array<char, 16> day{};
    std::strftime(day.data(), day.size(), "%Y-%m-%d", &local);
    return day.data();
}

Expected<Page> DrawingSheetOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                              const std::string& designName, Paper paper,
                              const DrawingIdentity& identity, const SheetDetails& details,
                              std::string date) {
    if (date.empty()) {
        date = IsoDate(std::time(nullptr));
    }
    const SheetContent content =
        SheetContentOf(drawn, scene, designName, identity, details, paper, std::move(date));
    if (Expected<void> fits = CheckSheetFits(content); !fits) {
        return fits.Error();
    }
    return LayOutSheet(content);
}

std::string SheetTitle(const std::string& designName) {
    return "Die Profile: " + designName;
}

std::string CannotExport(std::string_view path, std::string_view reason) {
    // The name as the user gave it, but never a control character sent to a terminal.
    return "Cannot export " + QuotedForMessage(path) + ": " + std::string(reason) + ".";
}

Expected<void> CheckDrawing(const Form1Model& model) {
    if (!model.LastCalculation()) {
        return Refusal{std::string(kNothingDrawn)};
    }
    return CheckProfile(*model.LastCalculation());
}

Expected<void, ExportRefusal> CheckChart(const Form1Model& model, const OverlayOptions& options) {
    if (const Expected<void> drawing = CheckDrawing(model); !drawing) {
        return ExportRefusal{drawing.Error().Message, false};
    }
    if (ToleranceWiderThanDie(options.Tolerance, *model.LastCalculation())) {
        return ExportRefusal{std::string(kToleranceWiderThanDie), true};
    }
    return Done{};
}

Expected<LaidOutExport, ExportRefusal> LayOutExport(const Form1Model& model,
                                                    const ExportRequest& request) {
    const std::string& path = request.Path;
    const auto refuse = [&path](std::string_view reason, bool usage = false) {
        return ExportRefusal{CannotExport(path, reason), usage};
    };
    const std::optional<ExportFormat> format = ExportFormatOf(path);
    if (!format) {
        return refuse("the file name must end in " + std::string(kExportExtensions));
    }
    if (request.Chart && *format != ExportFormat::Pdf) {
        return refuse("the projector chart is written as a PDF", true);
    }
    if (!model.DesignPath().empty() && IsSameFile(path, model.DesignPath())) {
        return refuse("it is the design file \"" + model.DesignName() + "\" itself", true);
    }
    if (request.Chart) {
        if (const Expected<void, ExportRefusal> chart = CheckChart(model, *request.Chart); !chart) {
            return refuse(chart.Error().Message, chart.Error().UsageMistake);
        }
    } else if (const Expected<void> drawing = CheckDrawing(model); !drawing) {
        return refuse(drawing.Error().Message);
    }
    const CalculatedDrawing& drawn = *model.LastCalculation();
    const std::string& designName = request.DesignName;
    LaidOutExport laidOut;
    laidOut.Format = *format;
    if (*format == ExportFormat::Dxf) {
        const DxfDocument document =
            DxfDocumentOf(drawn, model.Scene(), designName, request.Dxf, model.Identity());
        // A file of a fixed number of entities; only a die too large for a double's range, whose
        // dimensions' construction overflows, cannot be written.
        if (!AllFinite(document)) {
            return refuse(kTooLargeForDxf);
        }
        laidOut.Dxf = WriteDxf(document);
    } else if (request.Chart) {
        const PaperSize paper = PortraitSize(request.SheetPaper);
        // The foot names the drawing as the sheet's title block does: number, title, revision,
        // file.
        Expected<OverlayPages> chart =
            LayOutOverlay(drawn.Frame, model.Scene(), drawn.UnitDivisor, *request.Chart,
                          DesignLine(designName, model.Identity()), paper.WidthMm, paper.HeightMm);
        if (!chart) {
            // The chart's own refusals (too many pages, too small a page) are whole sentences.
            return ExportRefusal{std::move(chart).Error().Message, false};
        }
        const OverlayPages& pages = *chart;
        laidOut.Notes = {pages.Pages.size(), pages.Warning};
        laidOut.Pages = OverlayPaper(pages);
        laidOut.Title = designName.empty() ? "Die profile overlay" : designName;
    } else {
        Expected<Page> sheet = DrawingSheetOf(drawn, model.Scene(), designName, request.SheetPaper,
                                              model.SheetIdentity(), request.Details, request.Date);
        if (!sheet) {
            return refuse(sheet.Error().Message);
        }
        laidOut.Pages = {*std::move(sheet)};
        laidOut.Title = SheetTitle(designName);
        laidOut.Description = "Drawing sheet of a wire-drawing die";
    }
    return laidOut;
}

Expected<void, ExportRefusal> ExportDrawing(const Form1Model& model, const ExportRequest& request,
                                            ExportPainters* painters, ExportNotes* notes) {
    Expected<LaidOutExport, ExportRefusal> laidOut = LayOutExport(model, request);
    if (!laidOut) {
        return laidOut.Error();
    }
    LaidOutExport& made = *laidOut;
    Rendering rendering = std::string();
    if (made.Format == ExportFormat::Dxf) {
        rendering = std::move(made.Dxf);
    } else if (painters == nullptr) {
        return ExportRefusal{
            CannotExport(request.Path,
                         "PDF and SVG are drawn by the window's painters, which are not here"),
            false};
    } else if (made.Format == ExportFormat::Pdf) {
        rendering = painters->Pdf(made.Pages, made.Title);
    } else {
        rendering = painters->Svg(made.Pages.front(), made.Title, made.Description);
    }
    if (!rendering) {
        return ExportRefusal{CannotExport(request.Path, rendering.Error().Message), false};
    }
    if (const Expected<void> written = WriteFileAtomically(request.Path, *rendering); !written) {
        return ExportRefusal{CannotExport(request.Path, written.Error().Message), false};
    }
    if (notes != nullptr) {
        *notes = std::move(made.Notes);
    }
    return Done{};
}

} // namespace dieprofile

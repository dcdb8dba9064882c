// Every way the drawing leaves the program: the file exports (PDF and SVG sheets, the DXF, the
// projector chart) and the two prints. Here alone it is decided what is written, whether it can
// be, and in which words a refusal is given; the view only supplies the painters that turn laid-out
// paper into a PDF's or an SVG's bytes, and the file is then written as every file is.
#pragma once

#include "app/form_model.h"
#include "core/expected.h"
#include "core/file_name.h"
#include "dieset/die_set.h"
#include "output/atomic_file.h"
#include "output/dxf_drawing.h"
#include "output/overlay_options.h"
#include "output/page.h"
#include "output/paper.h"
#include "output/sheet_layout.h"
#include "profile/calculated_drawing.h"

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

enum class ExportFormat { Pdf, Svg, Dxf };

// The format a file name asks for by its extension, in any case; nothing for any other.
std::optional<ExportFormat> ExportFormatOf(std::string_view path);
// The extensions, as a refusal lists them.
inline constexpr std::string_view kExportExtensions = ".pdf, .svg or .dxf";

// The one wording of each refusal that does not depend on the file.
inline constexpr std::string_view kNothingDrawn = "there is no drawing yet. Press Calculate first";
inline constexpr std::string_view kTooLargeForDxf = "the die is too large to be drawn in a DXF";
inline constexpr std::string_view kToleranceWiderThanDie =
    "the tolerance band is wider than the die";

// Whether a band of this tolerance either side of a wall is wider than the die's blank.
bool ToleranceWiderThanDie(double tolerance, const CalculatedDrawing& drawn);

// The bytes of a document, or why they could not be made.
using Rendering = Expected<std::string>;

// What the view supplies: painters that turn laid-out paper into the bytes of a file.
class ExportPainters {
public:
    virtual ~ExportPainters() = default;
    virtual Rendering Pdf(const std::vector<Page>& pages, const std::string& title) = 0;
    virtual Rendering Svg(const Page& page, const std::string& title,
                          const std::string& description) = 0;
};

struct ExportRequest {
    std::string Path;
    std::string DesignName;              // as the title block and the documents name it
    std::optional<OverlayOptions> Chart; // the projector chart (a PDF) instead of the sheet
    Paper SheetPaper = Paper::A4;        // the sheet's paper, and the projector chart's
    DxfExportOptions Dxf;                // what a DXF holds and which way its axis runs
    SheetDetails Details{}; // the user's owner, drawn by, approved by and general tolerances
    std::string Date{};     // the sheet's date of issue, ISO 8601; empty: today
};

// What an export that was written has to tell beside its file: the projector chart's pages and a
// warning that it may mislead (empty when nothing is wrong).
struct ExportNotes {
    std::size_t ChartPages = 0;
    std::string Warning;
};

struct ExportRefusal {
    std::string Message;       // for the user: names the file and what is wrong
    bool UsageMistake = false; // asked for what cannot be (its own input, too wide a band)
};

// A day as ISO 8601 writes it ("2026-12-09"), in local time.
std::string IsoDate(std::time_t when);

// The drawing sheet of a Calculate on the paper, dated date (ISO 8601; empty: today); or why it
// cannot be laid out on that paper, decided before any of it is.
Expected<Page> DrawingSheetOf(const CalculatedDrawing& drawn, const DrawingScene& scene,
                              const std::string& designName, Paper paper,
                              const DrawingIdentity& identity = {},
                              const SheetDetails& details = {}, std::string date = {});
// What the sheet's documents call themselves.
std::string SheetTitle(const std::string& designName);

// "Cannot export "PATH": REASON.", the path as the user gave it.
std::string CannotExport(std::string_view path, std::string_view reason);

// Whether the last Calculate's drawing may leave the program, or why not (nothing drawn yet, a
// profile that cannot be made). Print Drawing asks this before its dialog.
Expected<void> CheckDrawing(const Form1Model& model);
// Whether the projector chart of the last Calculate may leave the program with these options
// (the drawing may, and the band is no wider than the die), or why not.
Expected<void, ExportRefusal> CheckChart(const Form1Model& model, const OverlayOptions& options);

// What an export writes, laid out and not yet painted: the DXF's text, or the pages of the sheet
// or the chart with what their document calls itself.
struct LaidOutExport {
    ExportFormat Format = ExportFormat::Pdf;
    std::string Dxf;
    std::vector<Page> Pages;
    std::string Title;
    std::string Description;
    ExportNotes Notes;
};

// Every decision of an export short of painting and writing: the refusal, or what would be
// written.
Expected<LaidOutExport, ExportRefusal> LayOutExport(const Form1Model& model,
                                                    const ExportRequest& request);

// Writes the last Calculate's drawing to the request's file in the format of its extension. The
// painters are needed for PDF and SVG only (null: the DXF alone can be written). Done (notes,
// when given, then say what else there is to tell), or the refusal, and nothing has been written.
Expected<void, ExportRefusal> ExportDrawing(const Form1Model& model, const ExportRequest& request,
                                            ExportPainters* painters, ExportNotes* notes = nullptr);

// The die set's exports: .csv, the schedule's figures (DieSetCsv); .pdf, the schedule on paper
// (its inputs and plot, the table of passes), then the drawing sheet of every die. The caller
// chooses the format; the file name must end in its extension.
enum class DieSetExportFormat { Csv, Pdf };
struct DieSetExportRequest {
    std::string Path;
    std::string SetPath; // the set's own file, never written over; empty while it has none
    DieSetExportFormat Format = DieSetExportFormat::Csv;
    double Caution = kDefaultCautionRatio; // the table's caution mark
    Paper SheetPaper = Paper::A4;          // the PDF's paper, landscape
    SheetDetails Details{}; // every die's sheet carries them, as Export Drawing's does
    std::string Date{};     // the pages' date of issue, ISO 8601; empty: today
};

// The schedule's pages of the set's PDF (its inputs and plot, the table of passes), laid out
// short of painting after every decision of the export; or its refusal.
Expected<std::vector<Page>, ExportRefusal> LayOutSchedulePages(const DieSetFile& set,
                                                               const DieSetExportRequest& request);
// Done, or the refusal (a refused input, a pass whose die cannot be drawn, a failed write), and
// nothing has been written. The painters are needed for the PDF only.
Expected<void, ExportRefusal>
ExportDieSet(const DieSetFile& set, const DieSetExportRequest& request, ExportPainters* painters);

} // namespace dieprofile

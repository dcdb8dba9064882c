// The die set leaves the program on the same road as the drawing: the set's own file never written
// over, every refusal decided here in the words of every export, the view only painting.
#include "app/export.h"
#include "core/file_name.h"
#include "core/message_text.h"
#include "dieset/schedule_pages.h"
#include "output/atomic_file.h"

namespace dieprofile {

namespace {

// The pass's sheet laid out as Export Drawing lays it out, from the drawing its Calculate kept; or
// why it cannot be drawn ("in the die set, pass 2: ...").
Expected<Page> SheetOfPass(const DieSetPass& pass, const std::string& what,
                           const std::string& setName, std::size_t passes, Paper paper,
                           const SheetDetails& details, const std::string& date) {
    const std::string number = std::to_string(pass.Pass);
    if (!pass.Die.Drawing) {
        return Refusal{"in " + what + ", the die of pass " + number + " cannot be drawn"};
    }
    // Only a die that passed the export's check keeps its drawing.
    const CalculatedDrawing& drawn = *pass.Die.Drawing;
    Expected<Page> sheet = DrawingSheetOf(
        drawn, drawn.Scene, setName + " pass " + number + " of " + std::to_string(passes), paper,
        {}, details, date);
    if (!sheet) {
        return Refusal{"in " + what + ", pass " + number + ": " + sheet.Error().Message};
    }
    return sheet;
}

} // namespace

namespace {

// The set computed for an export, or the refusal in the words of every export: a file name of
// another format, the set's own file, a refused input, a pass that cannot be trusted.
struct ExportedSet {
    std::string Name; // the set file's name; empty while it has none
    std::string What; // "the die set "copper.dieset"", as the refusals name it
    DieSetSchedule Schedule;
};

Expected<ExportedSet, ExportRefusal> ComputeForExport(const DieSetFile& set,
                                                      const DieSetExportRequest& request) {
    const std::string& path = request.Path;
    auto refuse = [&path](std::string_view reason, bool usage = false) {
        return ExportRefusal{CannotExport(path, reason), usage};
    };
    const bool pdf = request.Format == DieSetExportFormat::Pdf;
    if (!HasExtension(path, pdf ? "pdf" : "csv")) {
        return refuse(pdf ? "the file name must end in .pdf" : "the file name must end in .csv",
                      true);
    }
    ExportedSet exported;
    exported.Name = request.SetPath.empty() ? std::string() : DesignFileName(request.SetPath);
    if (!request.SetPath.empty() && IsSameFile(path, request.SetPath)) {
        return refuse("it is the die set file \"" + exported.Name + "\" itself", true);
    }
    exported.What = exported.Name.empty() ? std::string("the die set")
                                          : "the die set \"" + exported.Name + "\"";
    // The field's or the row's reason is a sentence of its own; the refusal ends it.
    const auto withoutStop = [](std::string sentence) {
        if (!sentence.empty() && sentence.back() == '.') {
            sentence.pop_back();
        }
        return sentence;
    };
    Expected<DieSetSchedule, DieSetRefusal> computed = ComputeDieSet(set);
    if (!computed) {
        return refuse(exported.What +
                      " cannot be computed: " + withoutStop(computed.Error().Message));
    }
    exported.Schedule = *std::move(computed);
    if (std::string problem = exported.Schedule.FirstProblem(); !problem.empty()) {
        return refuse("in " + exported.What + ", " + withoutStop(std::move(problem)));
    }
    return exported;
}

// The request's date of issue; empty: today.
std::string DateOf(const DieSetExportRequest& request) {
    return request.Date.empty() ? IsoDate(std::time(nullptr)) : request.Date;
}

// The schedule's pages, dated by the request, then the sheet of every die.
Expected<std::vector<Page>, ExportRefusal>
PdfPages(const DieSetFile& set, const DieSetExportRequest& request, const ExportedSet& exported) {
    const std::string shown = exported.Name.empty() ? std::string(kNotSaved) : exported.Name;
    const std::string date = DateOf(request);
    std::vector<Page> pages = SchedulePages(
        set, exported.Schedule, {request.Caution, exported.Name, request.SheetPaper, date});
    for (const DieSetPass& pass : exported.Schedule.Passes) {
        Expected<Page> sheet =
            SheetOfPass(pass, exported.What, shown, exported.Schedule.Passes.size(),
                        request.SheetPaper, request.Details, date);
        if (!sheet) {
            return ExportRefusal{CannotExport(request.Path, sheet.Error().Message), false};
        }
        pages.push_back(*std::move(sheet));
    }
    return pages;
}

} // namespace

Expected<std::vector<Page>, ExportRefusal> LayOutSchedulePages(const DieSetFile& set,
                                                               const DieSetExportRequest& request) {
    const Expected<ExportedSet, ExportRefusal> computed = ComputeForExport(set, request);
    if (!computed) {
        return computed.Error();
    }
    const ExportedSet& exported = *computed;
    return SchedulePages(set, exported.Schedule,
                         {request.Caution, exported.Name, request.SheetPaper, DateOf(request)});
}

Expected<void, ExportRefusal>
ExportDieSet(const DieSetFile& set, const DieSetExportRequest& request, ExportPainters* painters) {
    const Expected<ExportedSet, ExportRefusal> computed = ComputeForExport(set, request);
    if (!computed) {
        return computed.Error();
    }
    const ExportedSet& exported = *computed;
    auto refuse = [&request](std::string_view reason) {
        return ExportRefusal{CannotExport(request.Path, reason), false};
    };
    Rendering rendering = std::string();
    if (request.Format == DieSetExportFormat::Csv) {
        rendering = DieSetCsv(exported.Schedule);
    } else {
        const Expected<std::vector<Page>, ExportRefusal> pages = PdfPages(set, request, exported);
        if (!pages) {
            return pages.Error();
        }
        if (painters == nullptr) {
            return refuse("PDF and SVG are drawn by the window's painters, which are not here");
        }
        const std::string shown = exported.Name.empty() ? std::string(kNotSaved) : exported.Name;
        rendering = painters->Pdf(*pages, "Die set " + shown);
    }
    if (!rendering) {
        return refuse(rendering.Error().Message);
    }
    if (const Expected<void> written = WriteFileAtomically(request.Path, *rendering); !written) {
        return refuse(written.Error().Message);
    }
    return Done{};
}

} // namespace dieprofile

// The die set leaves the program on the same road as the drawing: the set's own file never written
// over, every refusal decided here in the words of every export, the view only painting.
#include "app/export.h"
#include "core/file_name.h"
#include "core/message_text.h"
#include "output/atomic_file.h"

namespace dieprofile {

namespace {

// The pass's sheet laid out as Export Drawing lays it out, from the drawing its Calculate kept; or
// why it cannot be drawn ("in the die set, pass 2: ...").
std::variant<Page, std::string> SheetOfPass(const DieSetPass& pass, const std::string& what,
                                            const std::string& setName, std::size_t passes,
                                            Paper paper, const SheetDetails& details) {
    const std::string number = std::to_string(pass.Pass);
    if (!pass.Die.Drawing) {
        return "in " + what + ", the die of pass " + number + " cannot be drawn";
    }
    // Only a die that passed the export's check keeps its drawing.
    const CalculatedDrawing& drawn = *pass.Die.Drawing;
    std::variant<Page, std::string> sheet = DrawingSheetOf(
        drawn, drawn.Scene, setName + " pass " + number + " of " + std::to_string(passes), paper,
        {}, details);
    if (const std::string* reason = std::get_if<std::string>(&sheet)) {
        return "in " + what + ", pass " + number + ": " + *reason;
    }
    return sheet;
}

} // namespace

std::optional<ExportRefusal> ExportDieSet(const DieSetFile& set, const DieSetExportRequest& request,
                                          ExportPainters* painters) {
    const std::string& path = request.Path;
    auto refuse = [&path](std::string_view reason, bool usage = false) {
        return ExportRefusal{CannotExport(path, reason), usage};
    };
    const bool pdf = request.Format == DieSetExportFormat::Pdf;
    if (!HasExtension(path, pdf ? "pdf" : "csv")) {
        return refuse(pdf ? "the file name must end in .pdf" : "the file name must end in .csv",
                      true);
    }
    const std::string name =
        request.SetPath.empty() ? std::string() : DesignFileName(request.SetPath);
    if (!request.SetPath.empty() && IsSameFile(path, request.SetPath)) {
        return refuse("it is the die set file \"" + name + "\" itself", true);
    }
    const std::string what =
        name.empty() ? std::string("the die set") : "the die set \"" + name + "\"";
    // The field's or the row's reason is a sentence of its own; the refusal ends it.
    const auto withoutStop = [](std::string sentence) {
        if (!sentence.empty() && sentence.back() == '.') {
            sentence.pop_back();
        }
        return sentence;
    };
    std::variant<DieSetSchedule, DieSetRefusal> computed = ComputeDieSet(set);
    if (const DieSetRefusal* refused = std::get_if<DieSetRefusal>(&computed)) {
        return refuse(what + " cannot be computed: " + withoutStop(refused->Message));
    }
    const DieSetSchedule& schedule = std::get<DieSetSchedule>(computed);
    if (std::string problem = schedule.FirstProblem(); !problem.empty()) {
        return refuse("in " + what + ", " + withoutStop(std::move(problem)));
    }
    Rendering rendering;
    if (!pdf) {
        rendering.Bytes = DieSetCsv(schedule);
    } else {
        DieSetDocument document{set, schedule, request.Caution, name, request.SheetPaper, {}};
        const std::string shown = name.empty() ? std::string(kNotSaved) : name;
        for (const DieSetPass& pass : schedule.Passes) {
            std::variant<Page, std::string> sheet = SheetOfPass(
                pass, what, shown, schedule.Passes.size(), request.SheetPaper, request.Details);
            if (const std::string* reason = std::get_if<std::string>(&sheet)) {
                return refuse(*reason);
            }
            document.Sheets.push_back(std::move(std::get<Page>(sheet)));
        }
        if (painters == nullptr) {
            return refuse("PDF and SVG are drawn by the window's painters, which are not here");
        }
        rendering = painters->DieSetPdf(document);
    }
    if (rendering.Failure) {
        return refuse(*rendering.Failure);
    }
    if (const std::optional<std::string> reason = WriteFileAtomically(path, rendering.Bytes)) {
        return refuse(*reason);
    }
    return std::nullopt;
}

} // namespace dieprofile

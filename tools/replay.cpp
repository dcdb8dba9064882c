#include "replay.h"

#include "app/die_set_model.h"
#include "app/dump.h"
#include "app/export.h"
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "app/inspection_model.h"
#include "app/page_dump.h"
#include "app/recut_model.h"
#include "core/number_text.h"
#include "dieset/die_set.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dieprofile {

namespace {

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

class Driver {
public:
    Driver(std::ostream& out, std::ostream& err)
        : toolkit_(&out), model_(toolkit_), out_(out), err_(err), set_(toolkit_) {
        toolkit_.Attach(model_);
        model_.Form_Load();
        model_.Show();
    }

    // False when the line is not a command.
    bool Run(std::string_view line) {
        const std::size_t blank = line.find(' ');
        const std::string_view command = line.substr(0, blank);
        const std::string_view rest = blank == std::string_view::npos ? "" : line.substr(blank + 1);
        if (command == "dump" && rest.empty()) {
            out_ << Dump(model_);
            return true;
        }
        if (command == "calculate" && rest.empty()) {
            model_.Command1_Click();
            return true;
        }
        if (command == "print" && rest.empty()) {
            model_.Command2_Click();
            return true;
        }
        if (command.starts_with("inspect")) {
            return RunInspectCommand(command, rest);
        }
        if (command.starts_with("recut")) {
            return RunRecutCommand(command, rest);
        }
        if (command.starts_with("set-")) {
            return RunSetCommand(command, rest);
        }
        if ((command == "open" || command == "save" || command == "export") && !rest.empty()) {
            RunFileCommand(command, std::string(rest));
            return true;
        }
        // The pages an export of the sheet or the chart would write, without writing them.
        if ((command == "layout" || command == "layout-chart") && !rest.empty()) {
            return RunLayout(command == "layout-chart", rest);
        }
        if (command == "select") {
            const std::optional<int> row = WholeNumber(rest);
            if (!row || *row < 1 || *row > 26) {
                return false;
            }
            model_.PickRow(*row);
            return true;
        }
        if (command == "units") {
            const std::optional<int> index = WholeNumber(rest);
            if (!index || (*index != 0 && *index != 1)) {
                return false;
            }
            model_.ChooseOption(*index);
            return true;
        }
        if (command == "type") {
            // TYPE I TEXT: the text is everything after the index and one blank, possibly empty.
            const std::size_t gap = rest.find(' ');
            const std::optional<int> index = WholeNumber(rest.substr(0, gap));
            if (!index || !IsText1Index(*index)) {
                return false;
            }
            const std::string_view text = gap == std::string_view::npos ? "" : rest.substr(gap + 1);
            model_.ReplaceText(Text1Control(*index), std::string(text));
            return true;
        }
        if (command == "focus") {
            const std::optional<int> index = WholeNumber(rest);
            if (!index || !IsText1Index(*index)) {
                return false;
            }
            const ControlId control = Text1Control(*index);
            if (!model_.IsVisible(control)) {
                err_ << "Text1(" << *index << ") is hidden and cannot take the focus\n";
                return true;
            }
            model_.FocusArrived(control);
            return true;
        }
        return false;
    }

private:
    // The same model commands as the window's context menu; refusals come out as messages.
    void RunFileCommand(std::string_view command, const std::string& path) {
        if (command == "open") {
            model_.OpenDesign(path);
        } else if (command == "save") {
            model_.SaveDesign(path);
        } else if (ExportFormatOf(path) == ExportFormat::Dxf) {
            // The same decisions as every export; only the painters of PDF and SVG are missing.
            if (const Expected<void, ExportRefusal> exported = ExportDrawing(
                    model_, ExportRequest{path, model_.DesignName(), {}, {}, {}, {}}, nullptr);
                !exported) {
                toolkit_.ShowMessage(exported.Error().Message);
            }
        } else {
            // PDF and SVG sheets are drawn by the window's painter, which the driver does not have.
            toolkit_.ShowMessage(CannotExport(std::filesystem::path(path).filename().string(),
                                              "the headless driver writes DXF only; use "
                                              "dieprofile --export for PDF and SVG"));
        }
    }

    // layout FILE, or layout-chart M T bore|section FILE: the export's every decision, then its
    // pages as text (a refusal as a message). The sheet is dated as the driver's runs are.
    bool RunLayout(bool chart, std::string_view rest) {
        ExportRequest request{std::string(rest), model_.DesignName(), {}, {}, {}, {}, "2000-01-01"};
        if (chart) {
            std::array<std::string_view, 3> words{};
            for (std::string_view& word : words) {
                const std::size_t blank = rest.find(' ');
                if (blank == std::string_view::npos) {
                    return false;
                }
                word = rest.substr(0, blank);
                rest.remove_prefix(blank + 1);
            }
            if (words[2] != "bore" && words[2] != "section") {
                return false;
            }
            auto options = ParseOverlayOptions(
                words[0], words[1], words[2] == "bore" ? OverlayView::Bore : OverlayView::Section);
            if (!options) {
                toolkit_.ShowMessage(options.Error().Message);
                return true;
            }
            request.Path = std::string(rest);
            request.Chart = *options;
        }
        const Expected<LaidOutExport, ExportRefusal> laidOut = LayOutExport(model_, request);
        if (!laidOut) {
            toolkit_.ShowMessage(laidOut.Error().Message);
        } else if (laidOut->Format == ExportFormat::Dxf) {
            toolkit_.ShowMessage("Cannot lay out \"" + request.Path +
                                 "\": a DXF is not paper; use export for it.");
        } else {
            out_ << DumpPages(laidOut->Pages);
        }
        return true;
    }

    // The inspection's lines: the same commands as the inspection window's.
    bool RunInspectCommand(std::string_view command, std::string_view rest) {
        if (command == "inspect" && !rest.empty()) {
            inspection_.OpenMeasured(std::string(rest));
            return true;
        }
        if (command == "inspect-tolerance") {
            inspection_.SetToleranceText(std::string(rest));
            return true;
        }
        if (command == "inspect-dump" && rest.empty()) {
            if (!inspection_.Result()) {
                toolkit_.ShowMessage("There is no inspection yet: use inspect FILE first.");
                return true;
            }
            out_ << "begin inspection\n";
            WriteCsvLines(inspection_.ReportCsv());
            for (const std::string& note : inspection_.Result()->Notes) {
                out_ << "note " << Quoted(note) << "\n";
            }
            out_ << "verdict " << Quoted(inspection_.Verdict()) << "\nend inspection\n";
            return true;
        }
        return false;
    }

    void WriteCsvLines(const std::string& csv) {
        for (std::size_t start = 0; start < csv.size();) {
            const std::size_t end = csv.find('\n', start);
            out_ << "csv " << csv.substr(start, end - start) << "\n";
            start = end + 1;
        }
    }

    // The recut's lines: the same commands as the recut step's.
    bool RunRecutCommand(std::string_view command, std::string_view rest) {
        if (command == "recut" && !rest.empty()) {
            PlanRecut(rest);
            return true;
        }
        if (command == "recut-dump" && rest.empty()) {
            if (!recut_.Result()) {
                toolkit_.ShowMessage("There is no recut yet: use recut A STEP first.");
                return true;
            }
            out_ << "begin recut\n";
            WriteCsvLines(RecutCsv(*recut_.Result()));
            out_ << "line " << Quoted(RecutLine(*recut_.Result())) << "\nend recut\n";
            return true;
        }
        if (command == "recut-export" && !rest.empty()) {
            recut_.Export(std::string(rest), nullptr);
            return true;
        }
        if (command == "recut-open" && rest.empty()) {
            recut_.OpenInWindow(model_, [] { return true; });
            return true;
        }
        return false;
    }
    // "A STEP", "A list L" or "A set FILE": the step's fields, typed.
    void PlanRecut(std::string_view rest) {
        const std::size_t blank = rest.find(' ');
        if (blank == std::string_view::npos) {
            toolkit_.ShowMessage(
                CannotRecut("give recut A STEP, recut A list L or recut A set FILE"));
            return;
        }
        RecutTyped typed;
        typed.Allowance = rest.substr(0, blank);
        std::string_view sizes = rest.substr(blank + 1);
        for (const auto& [word, kind] :
             {std::pair{std::string_view("list "), RecutSizeKind::List},
              std::pair{std::string_view("set "), RecutSizeKind::DieSet}}) {
            if (sizes.starts_with(word)) {
                typed.Kind = kind;
                sizes.remove_prefix(word.size());
            }
        }
        typed.Sizes = sizes;
        recut_.PlanTyped(typed);
    }

    // The die set's lines: the same commands as the Die Set window calls, on the same model.
    bool RunSetCommand(std::string_view command, std::string_view rest) {
        const std::string path(rest);
        if (command == "set-new" && rest.empty()) {
            set_.StartFrom(model_.CurrentDesign());
            return true;
        }
        if (command == "set-open" && !rest.empty()) {
            set_.Open(path);
            return true;
        }
        if (command == "set-close" && rest.empty()) {
            set_.Close();
            return true;
        }
        if (command == "set-dump" && rest.empty()) {
            if (NeedsSet()) {
                DumpSet();
            }
            return true;
        }
        // set-type FIELD TEXT: the text typed into the field of that key (the text may be empty).
        if (command == "set-type" && !rest.empty()) {
            const std::size_t gap = rest.find(' ');
            const std::string_view key = rest.substr(0, gap);
            const std::string text(gap == std::string_view::npos ? "" : rest.substr(gap + 1));
            if (DieSetFieldOf(key) == nullptr && key != "caution") {
                return false;
            }
            if (NeedsSet() && !set_.Type(key, text)) {
                return false;
            }
            return true;
        }
        // set-pass-profile N FIELD TEXT: the pass's own die field, or its own blank (FIELD
        // "blank"); an empty text keeps the set's.
        if (command == "set-pass-profile") {
            const std::size_t gap = rest.find(' ');
            const std::optional<int> pass = WholeNumber(rest.substr(0, gap));
            if (!pass || gap == std::string_view::npos) {
                return false;
            }
            const std::string_view field = rest.substr(gap + 1);
            const std::size_t next = field.find(' ');
            const std::string text(next == std::string_view::npos ? "" : field.substr(next + 1));
            const std::string_view key = field.substr(0, next);
            if (!IsDieKey(key)) {
                return false;
            }
            if (NeedsSet()) {
                set_.TypePassField(*pass, key, text);
            }
            return true;
        }
        // set-die FIELD TEXT: the set's own die field, or its blank (FIELD "blank").
        if (command == "set-die" && !rest.empty()) {
            const std::size_t gap = rest.find(' ');
            const std::string_view key = rest.substr(0, gap);
            if (!IsDieKey(key)) {
                return false;
            }
            if (NeedsSet()) {
                set_.TypeDieField(
                    key, std::string(gap == std::string_view::npos ? "" : rest.substr(gap + 1)));
            }
            return true;
        }
        // set-from-window: the window's present design becomes the set's die, as From Window.
        if (command == "set-from-window" && rest.empty()) {
            if (NeedsSet()) {
                set_.TakeDesign(model_.CurrentDesign());
            }
            return true;
        }
        // set-rounding none|step|sizes: how the outlets are rounded, as the window's choice.
        if (command == "set-rounding") {
            const std::array<std::pair<std::string_view, RoundingKind>, 3> kinds{{
                {"none", RoundingKind::None},
                {"step", RoundingKind::Step},
                {"sizes", RoundingKind::Sizes},
            }};
            const auto* kind = std::find_if(kinds.begin(), kinds.end(),
                                            [rest](const auto& k) { return k.first == rest; });
            if (kind == kinds.end()) {
                return false;
            }
            if (NeedsSet()) {
                set_.ChooseRounding(kind->second);
            }
            return true;
        }
        // set-remove-profile N: the pass's own die fields taken out, a resting pass's too.
        if (command == "set-remove-profile") {
            const std::optional<int> pass = WholeNumber(rest);
            if (!pass) {
                return false;
            }
            if (NeedsSet()) {
                set_.RemovePassProfile(*pass);
            }
            return true;
        }
        if (command == "set-open-die") {
            const std::optional<int> pass = WholeNumber(rest);
            if (!pass) {
                return false;
            }
            if (NeedsSet()) {
                set_.OpenPassAsDesign(*pass, model_);
            }
            return true;
        }
        // The schedule's pages that a PDF of the set would begin with, without writing them;
        // dated as the driver's runs are.
        if (command == "set-layout" && !rest.empty()) {
            if (NeedsSet()) {
                DieSetExportRequest request;
                request.Path = path;
                request.SetPath = set_.Path();
                request.Format = DieSetExportFormat::Pdf;
                request.Caution = set_.Caution().value_or(kDefaultCautionRatio);
                request.Date = "2000-01-01";
                const Expected<std::vector<Page>, ExportRefusal> pages =
                    LayOutSchedulePages(set_.Set(), request);
                if (!pages) {
                    toolkit_.ShowMessage(pages.Error().Message);
                } else {
                    out_ << DumpPages(*pages);
                }
            }
            return true;
        }
        if ((command == "set-save" || command == "set-export") && !rest.empty()) {
            if (!NeedsSet()) {
                return true;
            }
            if (command == "set-save") {
                set_.Save(path);
            } else {
                // As a die maker's script asks for it: a .pdf is the schedule on paper, any other
                // name the CSV, which then refuses a name not ending in .csv.
                set_.Export(path,
                            HasExtension(path, "pdf") ? DieSetExportFormat::Pdf
                                                      : DieSetExportFormat::Csv,
                            nullptr);
            }
            return true;
        }
        return false;
    }

    // A key of the die's fields (reductionAngle, ...) or "blank".
    static bool IsDieKey(std::string_view key) {
        return key == "blank" || SetDieFieldIndex(key).has_value();
    }

    bool NeedsSet() {
        if (!set_.HasSet()) {
            toolkit_.ShowMessage("There is no die set yet: use set-new or set-open first.");
        }
        return set_.HasSet();
    }

    void DumpSet() {
        out_ << "begin set\n";
        if (const std::optional<DieSetRefusal>& refused = set_.Refused()) {
            out_ << "refused " << DieSetCaption(refused->Field) << " " << refused->Outlet << " "
                 << Quoted(refused->Message) << "\n";
        } else {
            const DieSetSchedule& schedule = *set_.LastGood();
            const std::string csv = DieSetCsv(schedule);
            for (std::size_t start = 0; start < csv.size();) {
                const std::size_t end = csv.find('\n', start);
                out_ << "csv " << csv.substr(start, end - start) << "\n";
                start = end + 1;
            }
            for (const DieSetPass& pass : schedule.Passes) {
                if (!pass.Problem.empty()) {
                    out_ << "problem " << pass.Pass << " " << Quoted(pass.Problem) << "\n";
                }
            }
            for (const int pass : schedule.RestingOverrides) {
                out_ << "resting " << pass << "\n";
            }
        }
        out_ << "end set\n";
    }

    HeadlessToolkit toolkit_;
    Form1Model model_;
    InspectionModel inspection_{toolkit_, model_};
    RecutModel recut_{toolkit_, model_, inspection_};
    std::ostream& out_;
    std::ostream& err_;
    DieSetModel set_;
};

} // namespace

int RunScript(std::istream& script, std::ostream& out, std::ostream& err) {
    Driver driver(out, err);
    int bad = 0;
    int number = 0;
    std::string line;
    while (std::getline(script, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (!driver.Run(line)) {
            err << "line " << number << ": not a command: " << line << '\n';
            ++bad;
        }
    }
    return bad;
}

} // namespace dieprofile

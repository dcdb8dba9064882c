#include "replay.h"

#include "app/dump.h"
#include "app/export.h"
#include "app/form_model.h"
#include "support/recording_toolkit.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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
        : toolkit_(&out), model_(toolkit_), out_(out), err_(err) {
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
        if ((command == "open" || command == "save" || command == "export") && !rest.empty()) {
            RunFileCommand(command, std::string(rest));
            return true;
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
            if (const std::optional<ExportRefusal> refusal = ExportDrawing(
                    model_, ExportRequest{path, model_.DesignName(), {}, {}, {}, {}}, nullptr)) {
                toolkit_.ShowMessage(refusal->Message);
            }
        } else {
            // PDF and SVG sheets are drawn by the window's painter, which the driver does not have.
            toolkit_.ShowMessage("Cannot export \"" +
                                 std::filesystem::path(path).filename().string() +
                                 "\": the headless driver writes DXF only; use dieprofile --export "
                                 "for PDF and SVG.");
        }
    }

    RecordingToolkit toolkit_;
    Form1Model model_;
    std::ostream& out_;
    std::ostream& err_;
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

// The die set leaves the program on the same road as the drawing: the format by the extension, the
// set's own file never written over, the refusal in the words of every export.
#include "app/export.h"
#include "output/atomic_file.h"

#include <algorithm>
#include <cctype>

namespace dieprofile {

std::optional<ExportRefusal> ExportDieSet(const DieSetFile& set, const std::string& setPath,
                                          const std::string& path, ExportPainters* /*painters*/) {
    auto refuse = [&path](std::string_view reason, bool usage = false) {
        return ExportRefusal{CannotExport(path, reason), usage};
    };
    std::string extension;
    if (const std::size_t dot = path.rfind('.');
        dot != std::string::npos && path.find('/', dot) == std::string::npos) {
        extension = path.substr(dot + 1);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    if (extension != "csv") {
        return refuse("the file name must end in " + std::string(kDieSetExportExtensions), true);
    }
    if (!setPath.empty() && IsSameFile(path, setPath)) {
        return refuse("it is the die set file \"" + DesignFileName(setPath) + "\" itself", true);
    }
    const std::string what = setPath.empty() ? std::string("the die set")
                                             : "the die set \"" + DesignFileName(setPath) + "\"";
    std::variant<DieSetSchedule, DieSetRefusal> computed = ComputeDieSet(set);
    if (const DieSetRefusal* refused = std::get_if<DieSetRefusal>(&computed)) {
        return refuse(what + " cannot be computed: " + refused->Message);
    }
    const DieSetSchedule& schedule = std::get<DieSetSchedule>(computed);
    if (std::string problem = schedule.FirstProblem(); !problem.empty()) {
        // The row's reason is a sentence of its own; the refusal ends it.
        if (problem.back() == '.') {
            problem.pop_back();
        }
        return refuse("in " + what + ", " + problem);
    }
    if (const std::optional<std::string> reason = WriteFileAtomically(path, DieSetCsv(schedule))) {
        return refuse(*reason);
    }
    return std::nullopt;
}

} // namespace dieprofile

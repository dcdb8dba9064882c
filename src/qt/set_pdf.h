// The die set on paper: the schedule first (its inputs and plot, then the table of passes), then
// the drawing sheet of every die, the same sheet as Export Drawing gives for that die.
#pragma once

#include "app/export.h"
#include "output/set_file.h"

#include <optional>
#include <string>

namespace dieprofile {

// Computes the set and writes the PDF as every file is written, on the paper given (landscape).
// setPath is the set's own file (empty for a set never saved), which is never written over and
// names the set in the headings. Nothing on success; otherwise the refusal in the words of the
// set's other exports (a refused input, a pass whose die cannot be drawn, a failed write), and
// nothing has been written.
std::optional<ExportRefusal> WriteDieSetPdf(const DieSetFile& set, double caution,
                                            const std::string& setPath, const std::string& path,
                                            Paper paper);

} // namespace dieprofile

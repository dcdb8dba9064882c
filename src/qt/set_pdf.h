// The die set on paper: the schedule first (its inputs and plot, then the table of passes), then
// the drawing sheet of every die, the same sheet as Export Drawing gives for that die.
#pragma once

#include "output/set_file.h"

#include <QString>
#include <optional>

namespace dieprofile {

// Computes the set and writes the PDF atomically. setName is the set file's name for the headings
// (empty for a set never saved). Nothing on success; otherwise the message for the user, naming
// the file and what is wrong (a refused input, a pass whose die cannot be drawn, a failed write),
// and nothing has been written.
std::optional<QString> WriteDieSetPdf(const DieSetFile& set, double caution, const QString& setName,
                                      const QString& path);

} // namespace dieprofile

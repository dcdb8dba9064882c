// The headless driver's script: one command a line against the window model on the recording
// toolkit. Messages, prints and dumps go to out; a line that is not a command is reported to err
// and skipped.
#pragma once

#include <istream>
#include <ostream>

namespace dieprofile {

// Returns the number of lines that were not commands.
int RunScript(std::istream& script, std::ostream& out, std::ostream& err);

} // namespace dieprofile

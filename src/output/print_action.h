// The print action's steps over plain data: how the window is enlarged for the page and shrunk
// back, the printer's orientation, and what the user is told about the job.
#pragma once

#include <optional>
#include <string>

namespace dieprofile {

struct PrintOutcome {
    enum class Kind { Printed, NoPrinter, Failed };
    Kind Result = Kind::Printed;
    std::string Reason; // why a job failed, in the spooler's or the toolkit's words
};

// The printer's orientation setting as the print action gives it: 1 portrait, 2 landscape.
inline constexpr int kLandscapeOrientation = 2;

// An outer width or height, in single-precision twips, while the window is printed and after.
// Both steps are single precision, so a print and its restore bring back exactly the size that
// was read, and two prints in a row never creep.
float EnlargedForPrint(float outerSize);
float RestoredAfterPrint(float printedSize);

// The message a finished job leaves for the user; nothing when it printed.
std::optional<std::string> PrintOutcomeMessage(const PrintOutcome& outcome);

} // namespace dieprofile

// The print action's steps over plain data: how the window is enlarged for the page and shrunk
// back, the printer's orientation, whether the spooler's queue can take the job, and what the user
// is told about it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dieprofile {

struct PrintOutcome {
    // Printed: the job went to the spooler. Paused: it went to a paused queue and waits there.
    // NoPrinter and Failed: nothing was sent.
    enum class Kind { Printed, NoPrinter, Failed, Paused };
    Kind Result = Kind::Printed;
    std::string Reason;  // why a job failed, in the spooler's or the toolkit's words
    std::string Printer; // the queue a paused job waits in
};

// Whether the job reached the spooler (printed, or waiting in a paused queue).
bool JobSent(const PrintOutcome& outcome);

// What the spooler says of a queue before a job is sent to it.
struct QueueStatus {
    std::string Name;
    bool Accepting = true;            // false after cupsreject: a job sent would be refused
    bool Stopped = false;             // printer-state "stopped": the queue holds its jobs
    std::vector<std::string> Reasons; // printer-state-reasons, e.g. "paused", "media-jam-error"
};

// Whether to send the job, as the outcome it will have:
// - a queue that refuses jobs, or one stopped with an error among its reasons: Failed, not sent;
// - a queue stopped without an error (paused, cupsdisable): Paused, sent and held until resumed;
// - any other: Printed.
PrintOutcome OutcomeBeforeSending(const QueueStatus& queue);

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

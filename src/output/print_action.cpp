#include "output/print_action.h"

#include <algorithm>

namespace dieprofile {

namespace {
constexpr float kPrintEnlargement = 1000.0f; // twips, added to the outer width and height

// IPP gives each state reason a severity suffix; "-error" is a condition that needs a person.
bool IsErrorReason(const std::string& reason) {
    return reason.ends_with("-error");
}
} // namespace

bool JobSent(const PrintOutcome& outcome) {
    return outcome.Result == PrintOutcome::Kind::Printed ||
           outcome.Result == PrintOutcome::Kind::Paused;
}

PrintOutcome OutcomeBeforeSending(const QueueStatus& queue) {
    if (!queue.Accepting) {
        return {PrintOutcome::Kind::Failed,
                "the printer " + queue.Name + " is not accepting jobs.",
                {}};
    }
    if (!queue.Stopped) {
        return {};
    }
    if (std::any_of(queue.Reasons.begin(), queue.Reasons.end(), IsErrorReason)) {
        return {PrintOutcome::Kind::Failed, "the printer " + queue.Name + " reports an error.", {}};
    }
    return {PrintOutcome::Kind::Paused, {}, queue.Name};
}

float EnlargedForPrint(float outerSize) {
    return outerSize + kPrintEnlargement;
}

float RestoredAfterPrint(float printedSize) {
    return printedSize - kPrintEnlargement;
}

std::optional<std::string> PrintOutcomeMessage(const PrintOutcome& outcome) {
    switch (outcome.Result) {
    case PrintOutcome::Kind::Printed:
        break;
    case PrintOutcome::Kind::NoPrinter:
        return "No printer is available.";
    case PrintOutcome::Kind::Failed:
        return "Printing failed: " + outcome.Reason;
    case PrintOutcome::Kind::Paused:
        return "The printer " + outcome.Printer +
               " is paused; the page waits in its queue until it is resumed.";
    }
    return std::nullopt;
}

} // namespace dieprofile

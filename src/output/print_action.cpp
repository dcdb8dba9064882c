#include "output/print_action.h"

namespace dieprofile {

namespace {
constexpr float kPrintEnlargement = 1000.0f; // twips, added to the outer width and height
} // namespace

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
    }
    return std::nullopt;
}

} // namespace dieprofile

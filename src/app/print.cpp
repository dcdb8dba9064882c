// Print: the window goes to the default printer without the diamond fields, enlarged a little
// for the page, and comes back at its former size with the diamond fields shown, whether or not the
// job succeeded.
#include "app/form_model.h"
#include "output/print_action.h"

namespace dieprofile {

void Form1Model::Command2_Click() {
    SetDiamondFieldsVisible(false);

    // The size is read from the window itself each time.
    const TwipSize before = UI().WindowOuterSize();
    window_.Width = EnlargedForPrint(before.Width);
    window_.Height = EnlargedForPrint(before.Height);
    UI().ResizeWindow(window_.Width, window_.Height);
    UI().RepaintNow();

    UI().SetPrinterOrientation(kLandscapeOrientation);
    const PrintOutcome outcome = UI().PrintWindow();

    SetDiamondFieldsVisible(true);
    window_.Width = RestoredAfterPrint(window_.Width);
    window_.Height = RestoredAfterPrint(window_.Height);
    UI().ResizeWindow(window_.Width, window_.Height);
    UI().RepaintNow();

    if (const std::optional<std::string> message = PrintOutcomeMessage(outcome)) {
        UI().ShowMessage(*message);
    }
}

} // namespace dieprofile

// Print: the window goes to the default printer without the diamond fields, enlarged a little
// for the page, and comes back at its former size with the diamond fields shown, whether or not the
// job succeeded.
#include "app/form_model.h"

namespace dieprofile {

namespace {
constexpr float kPrintEnlargement = 1000.0f; // twips, added to the outer width and height
} // namespace

void Form1Model::Command2_Click() {
    SetDiamondFieldsVisible(false);

    // The size is read from the window itself each time and restored by the same single-precision
    // steps, so two prints in a row never creep.
    const TwipSize before = UI().WindowOuterSize();
    Window.Width = before.Width;
    Window.Height = before.Height;
    Window.Width = Window.Width + kPrintEnlargement;
    Window.Height = Window.Height + kPrintEnlargement;
    UI().ResizeWindow(Window.Width, Window.Height);
    UI().RepaintNow();

    UI().SetPrinterOrientation(kLandscapeOrientation);
    const PrintOutcome outcome = UI().PrintWindow();

    SetDiamondFieldsVisible(true);
    Window.Width = Window.Width - kPrintEnlargement;
    Window.Height = Window.Height - kPrintEnlargement;
    UI().ResizeWindow(Window.Width, Window.Height);
    UI().RepaintNow();

    switch (outcome.Result) {
    case PrintOutcome::Kind::Printed:
        break;
    case PrintOutcome::Kind::NoPrinter:
        UI().ShowMessage("No printer is available.");
        break;
    case PrintOutcome::Kind::Failed:
        UI().ShowMessage("Printing failed: " + outcome.Reason);
        break;
    }
}

} // namespace dieprofile

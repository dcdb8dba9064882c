// The toolkit for runs without a window: the headless driver, an export from the command line,
// the die set's dies, and the tests. A message box is answered OK at once and kept, the screen is
// 1920 x 1080 pixels, and a print is recorded as sent to the spooler unless NextPrint says
// otherwise.
#pragma once

#include "app/form_model.h"
#include "app/toolkit.h"
#include "profile/form_design.h"

#include <ostream>
#include <string>
#include <vector>

namespace dieprofile {

class HeadlessToolkit : public Toolkit {
public:
    // Writes what happens ("message ...", "printed ...") to out, if given.
    explicit HeadlessToolkit(std::ostream* out = nullptr) : out_(out) {}

    // The model whose window a print shows: its record says whether the diamond's fields were on
    // it.
    void Attach(const Form1Model& model) { model_ = &model; }

    void ShowMessage(std::string_view text) override;
    void MoveFocus(ControlId control) override { FocusMoves.push_back(control); }
    TwipSize ScreenSize() override { return Screen; }
    TwipSize WindowOuterSize() override { return Outer; }
    void MoveWindow(float left, float top) override;
    void ResizeWindow(float outerWidth, float outerHeight) override;
    void RepaintNow() override { ++Repaints; }
    void SetPrinterOrientation(int orientation) override { Orientation = orientation; }
    PrintOutcome PrintWindow() override;

    TwipSize Screen{28800, 16200};
    TwipSize Outer{static_cast<float>(kWindow.ClientWidth),
                   static_cast<float>(kWindow.ClientHeight)}; // no frame around the window
    float Left = 0;
    float Top = 0;
    int Repaints = 0;
    int Orientation = 0;
    PrintOutcome NextPrint;            // what the next print reports
    std::vector<std::string> Messages; // every message, in the order given
    std::vector<ControlId> FocusMoves;
    std::vector<std::string> Printed; // one "printed ..." record a job sent to the spooler

private:
    void Record(const std::string& line);
    std::ostream* out_;
    const Form1Model* model_ = nullptr;
};

} // namespace dieprofile

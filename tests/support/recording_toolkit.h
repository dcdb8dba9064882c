// A toolkit without a screen: messages are answered OK at once and printing is recorded. The
// headless driver and the tests run the window model on it.
#pragma once

#include "app/form_model.h"
#include "app/toolkit.h"

#include <ostream>
#include <string>
#include <vector>

namespace dieprofile {

class RecordingToolkit : public Toolkit {
public:
    // Writes what happens ("message ...", "printed ...") to out, if given.
    explicit RecordingToolkit(std::ostream* out = nullptr) : out_(out) {}

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
    TwipSize Outer{14460, 10380};
    float Left = 0;
    float Top = 0;
    int Repaints = 0;
    int Orientation = 0;
    PrintOutcome NextPrint; // what the next print reports
    std::vector<std::string> Messages;
    std::vector<ControlId> FocusMoves;
    std::vector<std::string> Printed; // one "printed ..." record a job sent to the spooler

private:
    void Record(const std::string& line);
    std::ostream* out_;
    const Form1Model* model_ = nullptr;
};

} // namespace dieprofile

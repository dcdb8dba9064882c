// A toolkit for runs without a window, such as an export from the command line: messages are kept
// for the caller to report, the screen is the window's own size, and there is no printer.
#pragma once

#include "app/form_design.h"
#include "app/toolkit.h"

#include <string>
#include <vector>

namespace dieprofile {

class CollectingToolkit : public Toolkit {
public:
    void ShowMessage(std::string_view text) override { Messages.emplace_back(text); }
    void MoveFocus(ControlId) override {}
    TwipSize ScreenSize() override { return WindowOuterSize(); }
    TwipSize WindowOuterSize() override {
        return {static_cast<float>(kWindow.ClientWidth), static_cast<float>(kWindow.ClientHeight)};
    }
    void MoveWindow(float, float) override {}
    void ResizeWindow(float, float) override {}
    void RepaintNow() override {}
    void SetPrinterOrientation(int) override {}
    PrintOutcome PrintWindow() override { return {PrintOutcome::Kind::NoPrinter, {}, {}}; }

    std::vector<std::string> Messages; // every message, in the order given
};

} // namespace dieprofile

// The toolkit of a window beside the designed one: its model only gives messages, and has no
// window place, focus or print of the designed window's to ask for.
#pragma once

#include "app/toolkit.h"

namespace dieprofile {

class MessageToolkit : public Toolkit {
public:
    void MoveFocus(ControlId /*control*/) override {}
    TwipSize ScreenSize() override { return {}; }
    TwipSize WindowOuterSize() override { return {}; }
    void MoveWindow(float /*left*/, float /*top*/) override {}
    void ResizeWindow(float /*outerWidth*/, float /*outerHeight*/) override {}
    void RepaintNow() override {}
    void SetPrinterOrientation(int /*orientation*/) override {}
    PrintOutcome PrintWindow() override { return {}; }
};

} // namespace dieprofile

// What the window model needs from a window toolkit. The Qt window implements it for real; the
// headless toolkit (app/headless_toolkit.h) for runs without a window and for the tests.
#pragma once

#include "core/controls.h"
#include "output/print_action.h"

#include <string>
#include <string_view>

namespace dieprofile {

struct TwipSize {
    float Width = 0;
    float Height = 0;
};

class Toolkit {
public:
    virtual ~Toolkit() = default;

    // A modal box with the message, one OK button and the window's caption as its title; returns
    // when the user has closed it.
    virtual void ShowMessage(std::string_view text) = 0;
    // Moves the input focus to a control the model has already made current.
    virtual void MoveFocus(ControlId control) = 0;
    virtual TwipSize ScreenSize() = 0;
    // The window's outer size: client area, border and caption bar.
    virtual TwipSize WindowOuterSize() = 0;
    virtual void MoveWindow(float left, float top) = 0;
    virtual void ResizeWindow(float outerWidth, float outerHeight) = 0;
    // Shows the model's present state at once, before the handler goes on.
    virtual void RepaintNow() = 0;
    // The printer's orientation setting: 1 portrait, 2 landscape.
    virtual void SetPrinterOrientation(int orientation) = 0;
    // Prints the window as it stands on the default printer, without a dialog.
    virtual PrintOutcome PrintWindow() = 0;
};

} // namespace dieprofile

// The toolkit of a window beside the designed one: its model only gives messages, and has no
// window place, focus or print of the designed window's to ask for.
#pragma once

#include "app/toolkit.h"

#include <QString>
#include <functional>
#include <string_view>

class QWidget;

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

    // Messages go to a box over the window unless tests put a function that takes them.
    using MessageSink = std::function<void(const QString& text)>;
    void SetMessageSink(MessageSink sink) { messages_ = std::move(sink); }

protected:
    // A model's message: to the sink when there is one, else a warning box over the window,
    // captioned with its title; never a control character.
    void ShowMessageOver(QWidget& window, std::string_view text);

private:
    MessageSink messages_;
};

} // namespace dieprofile

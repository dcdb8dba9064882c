#include "app/headless_toolkit.h"

#include "app/dump.h"

namespace dieprofile {

void HeadlessToolkit::Record(const std::string& line) {
    if (out_ != nullptr) {
        *out_ << line << '\n';
    }
}

void HeadlessToolkit::ShowMessage(std::string_view text) {
    Messages.emplace_back(text);
    Record("message " + Quoted(text));
}

void HeadlessToolkit::MoveWindow(float left, float top) {
    Left = left;
    Top = top;
}

void HeadlessToolkit::ResizeWindow(float outerWidth, float outerHeight) {
    Outer = {outerWidth, outerHeight};
}

PrintOutcome HeadlessToolkit::PrintWindow() {
    const bool fieldsVisible = model_ != nullptr && model_->Text1(5).Visible;
    std::string line = "printed " + GeneralNumber(Outer.Width, 9) + " " +
                       GeneralNumber(Outer.Height, 9) + " diamond-fields " +
                       (fieldsVisible ? "visible" : "hidden");
    if (JobSent(NextPrint)) {
        Printed.push_back(line);
        Record(line);
    }
    return NextPrint;
}

} // namespace dieprofile

#include "qt/message_toolkit.h"

#include "core/message_text.h"
#include "qt/widget_design.h"

#include <QMessageBox>
#include <QWidget>

namespace dieprofile {

void MessageToolkit::ShowMessageOver(QWidget& window, std::string_view text) {
    const QString message = ToQString(WithControlCharactersEscaped(text));
    if (messages_) {
        messages_(message);
        return;
    }
    QMessageBox::warning(&window, window.windowTitle(), message);
}

} // namespace dieprofile

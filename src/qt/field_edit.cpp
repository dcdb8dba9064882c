#include "qt/field_edit.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>

namespace dieprofile {

bool FieldEdit::event(QEvent* event) {
    // A command's shortcut wins over the field's own binding of the same keys (on X11 Ctrl+E
    // moves the caret to the end of the line): every command works from every control.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        const QList<QAction*> commands = window()->actions();
        if (std::any_of(commands.begin(), commands.end(), [&pressed](const QAction* command) {
                return command->isEnabled() && command->shortcuts().contains(pressed);
            })) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusReceived();
}

} // namespace dieprofile

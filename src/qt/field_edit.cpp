#include "qt/field_edit.h"

#include <QFocusEvent>

namespace dieprofile {

void FieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusReceived();
}

} // namespace dieprofile

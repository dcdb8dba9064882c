// A text field of the window.
#pragma once

#include <QLineEdit>

namespace dieprofile {

// A text field that tells when it has received the focus, after the toolkit's own handling (which
// would otherwise replace the selection the model makes).
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
signals:
    void focusReceived();

protected:
    // Leaves the window's command shortcuts to the window.
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace dieprofile

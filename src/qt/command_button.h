// A push button of the window.
#pragma once

#include <QPushButton>

namespace dieprofile {

// A push button that Enter or Return clicks while it has the focus, as Space does: in a plain
// window (not a dialogue) the toolkit's buttons take only Space.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace dieprofile

// The dialog of "Print at Scale…": the magnification (a choice of the usual projector lenses or
// any value from 1 to 1000), the bore only or the whole section, and the tolerance band. A value
// that cannot be drawn is refused in place: OK stays disabled and the reason is shown.
#pragma once

#include "output/overlay_options.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace dieprofile {

class ScaleDialog : public QDialog {
    Q_OBJECT

public:
    // unitDivisor: the unit of the drawing, which the tolerance is typed in.
    explicit ScaleDialog(double unitDivisor, QWidget* parent = nullptr);

    // The options as typed; valid whenever OK is enabled.
    OverlayOptions Options() const;

    QComboBox* Magnification() const { return magnification_; }
    QLineEdit* Tolerance() const { return tolerance_; }
    QRadioButton* WholeSection() const { return wholeSection_; }
    QLabel* Reason() const { return reason_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

private:
    void Recheck();

    QComboBox* magnification_;
    QRadioButton* boreOnly_;
    QRadioButton* wholeSection_;
    QLineEdit* tolerance_;
    QLabel* reason_;
    QDialogButtonBox* buttons_;
    OverlayOptions options_;
};

} // namespace dieprofile

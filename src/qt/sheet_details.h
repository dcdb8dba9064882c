// Who owns, draws and approves the sheets, and their general tolerances: kept for the user between
// runs (the window's Sheet Details… and the command line read the same settings). The dialog also
// edits what the open design calls its drawing (number, title and revision) and the tolerance its
// bearing is made to.
#pragma once

#include "output/design_file.h"
#include "output/sheet_layout.h"

#include <QDialog>

class QFormLayout;
class QLabel;
class QLineEdit;

namespace dieprofile {

SheetDetails LoadSheetDetails();
void SaveSheetDetails(const SheetDetails& details);

class SheetDetailsDialog : public QDialog {
    Q_OBJECT
public:
    // unitDivisor: the unit a tolerance typed without one is in.
    SheetDetailsDialog(const SheetDetails& details, const DrawingIdentity& identity,
                       double unitDivisor, QWidget* parent);

    void accept() override;

    SheetDetails Details() const;
    DrawingIdentity Identity() const;

private:
    QLineEdit* AddLine(QFormLayout* form, const QString& caption, const std::string& text);

    QLineEdit* owner_;
    QLineEdit* drawnBy_;
    QLineEdit* approvedBy_;
    QLineEdit* tolerances_;
    QLineEdit* number_;
    QLineEdit* title_;
    QLineEdit* revision_;
    QLineEdit* bearingTolerance_;
    QLabel* toleranceProblem_;
    double unitDivisor_;
};

} // namespace dieprofile

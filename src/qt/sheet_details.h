// Who owns, draws and approves the sheets, and their general tolerances: kept for the user between
// runs (the window's Sheet Details… and the command line read the same settings). The dialog also
// edits what the open design calls its drawing: number, title and revision.
#pragma once

#include "output/design_file.h"
#include "output/sheet_layout.h"

#include <QDialog>

class QFormLayout;
class QLineEdit;

namespace dieprofile {

SheetDetails LoadSheetDetails();
void SaveSheetDetails(const SheetDetails& details);

class SheetDetailsDialog : public QDialog {
    Q_OBJECT
public:
    SheetDetailsDialog(const SheetDetails& details, const DrawingIdentity& identity,
                       QWidget* parent);

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
};

} // namespace dieprofile

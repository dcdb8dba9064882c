#include "qt/sheet_details.h"

#include "qt/user_settings.h"
#include "qt/widget_design.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace dieprofile {

namespace {

// The settings' keys, one for each detail.
const std::array<std::pair<QString, std::string SheetDetails::*>, 4>& DetailKeys() {
    static const std::array<std::pair<QString, std::string SheetDetails::*>, 4> kKeys{{
        {QStringLiteral("sheet/owner"), &SheetDetails::Owner},
        {QStringLiteral("sheet/drawnBy"), &SheetDetails::DrawnBy},
        {QStringLiteral("sheet/approvedBy"), &SheetDetails::ApprovedBy},
        {QStringLiteral("sheet/generalTolerances"), &SheetDetails::GeneralTolerances},
    }};
    return kKeys;
}

// As many characters as a design's field holds: a title block has no room for more.
constexpr int kMaxCharacters = static_cast<int>(kMaxDesignFieldCharacters);

} // namespace

SheetDetails LoadSheetDetails() {
    const QSettings settings = UserSettings();
    SheetDetails details;
    for (const auto& [key, member] : DetailKeys()) {
        details.*member = settings.value(key).toString().left(kMaxCharacters).toStdString();
    }
    return details;
}

void SaveSheetDetails(const SheetDetails& details) {
    QSettings settings = UserSettings();
    for (const auto& [key, member] : DetailKeys()) {
        settings.setValue(key, ToQString(details.*member));
    }
}

SheetDetailsDialog::SheetDetailsDialog(const SheetDetails& details, const DrawingIdentity& identity,
                                       QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Sheet Details"));
    auto* every = new QGroupBox(QStringLiteral("Every drawing sheet"), this);
    auto* everyForm = new QFormLayout(every);
    owner_ = AddLine(everyForm, QStringLiteral("&Legal owner:"), details.Owner);
    drawnBy_ = AddLine(everyForm, QStringLiteral("&Drawn by:"), details.DrawnBy);
    approvedBy_ = AddLine(everyForm, QStringLiteral("&Approved by:"), details.ApprovedBy);
    tolerances_ =
        AddLine(everyForm, QStringLiteral("&General tolerances:"), details.GeneralTolerances);

    auto* design = new QGroupBox(QStringLiteral("This design (saved with it)"), this);
    auto* designForm = new QFormLayout(design);
    number_ = AddLine(designForm, QStringLiteral("Drawing &number:"), identity.Number);
    number_->setPlaceholderText(QStringLiteral("the design file's name"));
    title_ = AddLine(designForm, QStringLiteral("&Title:"), identity.Title);
    revision_ = AddLine(designForm, QStringLiteral("&Revision:"), identity.Revision);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(every);
    layout->addWidget(design);
    layout->addWidget(buttons);
}

QLineEdit* SheetDetailsDialog::AddLine(QFormLayout* form, const QString& caption,
                                       const std::string& text) {
    auto* edit = new QLineEdit(ToQString(text), this);
    edit->setMaxLength(kMaxCharacters);
    edit->setMinimumWidth(320);
    form->addRow(caption, edit);
    return edit;
}

SheetDetails SheetDetailsDialog::Details() const {
    return {owner_->text().trimmed().toStdString(), drawnBy_->text().trimmed().toStdString(),
            approvedBy_->text().trimmed().toStdString(),
            tolerances_->text().trimmed().toStdString()};
}

DrawingIdentity SheetDetailsDialog::Identity() const {
    return {number_->text().trimmed().toStdString(), title_->text().trimmed().toStdString(),
            revision_->text().trimmed().toStdString()};
}

} // namespace dieprofile

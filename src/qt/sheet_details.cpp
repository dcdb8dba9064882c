#include "qt/sheet_details.h"

#include "core/units.h"
#include "qt/user_settings.h"
#include "qt/widget_design.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
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
                                       double unitDivisor, QWidget* parent)
    : QDialog(parent), unitDivisor_(unitDivisor) {
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
    bearingTolerance_ =
        AddLine(designForm, QStringLiteral("&Bearing tolerance:"), identity.BearingTolerance);
    bearingTolerance_->setPlaceholderText(unitDivisor == kInchUnitDivisor
                                              ? QStringLiteral("for example +0.0002/-0 in")
                                              : QStringLiteral("for example +0.005/-0 mm"));
    toleranceProblem_ = new QLabel(this);
    toleranceProblem_->setWordWrap(true);
    toleranceProblem_->hide();
    designForm->addRow(toleranceProblem_);

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

void SheetDetailsDialog::accept() {
    const std::string typed = bearingTolerance_->text().trimmed().toStdString();
    if (!typed.empty() && !ParseBearingTolerance(typed, unitDivisor_)) {
        toleranceProblem_->setText(QStringLiteral(
            "The bearing tolerance must be the upper and the lower deviation, such as "
            "+0.0002/-0, or \u00B1 and one deviation; the upper not below the lower."));
        toleranceProblem_->show();
        bearingTolerance_->setFocus();
        return;
    }
    QDialog::accept();
}

DrawingIdentity SheetDetailsDialog::Identity() const {
    // The tolerance keeps the unit it was typed in, whatever unit the design is later shown in.
    std::string tolerance = bearingTolerance_->text().trimmed().toStdString();
    const std::optional<BearingTolerance> read = ParseBearingTolerance(tolerance, unitDivisor_);
    if (read && !tolerance.ends_with(UnitSymbol(read->UnitDivisor))) {
        tolerance += " " + std::string(UnitSymbol(read->UnitDivisor));
    }
    return {number_->text().trimmed().toStdString(), title_->text().trimmed().toStdString(),
            revision_->text().trimmed().toStdString(), read ? tolerance : std::string()};
}

} // namespace dieprofile

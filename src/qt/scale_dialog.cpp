#include "qt/scale_dialog.h"

#include "core/units.h"
#include "qt/widget_design.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dieprofile {

ScaleDialog::ScaleDialog(double unitDivisor, QWidget* parent)
    : QDialog(parent), magnification_(new QComboBox(this)),
      boreOnly_(new QRadioButton(tr("Bore only"), this)),
      wholeSection_(new QRadioButton(tr("Whole section"), this)),
      tolerance_(new QLineEdit(QStringLiteral("0"), this)), reason_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(tr("Print at Scale"));
    magnification_->setEditable(true);
    magnification_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* lens : {"10", "20", "50", "100", "200"}) {
        magnification_->addItem(QString::fromLatin1(lens));
    }
    magnification_->setCurrentText(QStringLiteral("50"));
    boreOnly_->setChecked(true);

    auto* view = new QHBoxLayout;
    view->addWidget(boreOnly_);
    view->addWidget(wholeSection_);
    const QString unit = ToQString(UnitSymbol(unitDivisor));
    auto* band = new QHBoxLayout;
    band->addWidget(new QLabel(QStringLiteral("\u00b1"), this));
    band->addWidget(tolerance_);
    band->addWidget(new QLabel(unit, this));

    auto* form = new QFormLayout;
    form->addRow(tr("Magnification (\u00d7):"), magnification_);
    form->addRow(tr("Draw:"), view);
    form->addRow(tr("Tolerance band:"), band);

    reason_->setWordWrap(true);
    QPalette warning = reason_->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    reason_->setPalette(warning);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(reason_);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(magnification_, &QComboBox::currentTextChanged, this, &ScaleDialog::Recheck);
    connect(tolerance_, &QLineEdit::textChanged, this, &ScaleDialog::Recheck);
    connect(wholeSection_, &QRadioButton::toggled, this, &ScaleDialog::Recheck);
    Recheck();
}

OverlayOptions ScaleDialog::Options() const {
    return options_;
}

void ScaleDialog::Recheck() {
    const auto parsed = ParseOverlayOptions(
        magnification_->currentText().toStdString(), tolerance_->text().toStdString(),
        wholeSection_->isChecked() ? OverlayView::Section : OverlayView::Bore);
    const std::string* problem = std::get_if<std::string>(&parsed);
    if (problem == nullptr) {
        options_ = std::get<OverlayOptions>(parsed);
    }
    reason_->setText(problem != nullptr ? ToQString(*problem) : QString());
    reason_->setVisible(problem != nullptr);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(problem == nullptr);
}

} // namespace dieprofile

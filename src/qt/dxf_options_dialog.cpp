#include "qt/dxf_options_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace dieprofile {

DxfOptionsDialog::DxfOptionsDialog(const DxfExportOptions& initial, QWidget* parent)
    : QDialog(parent), profile_(new QComboBox(this)), axis_(new QComboBox(this)) {
    setWindowTitle(tr("DXF Options"));
    // The items in the order of the enumerations, so an index is a choice.
    profile_->addItems({tr("Whole section"), tr("Half profile, closed (for CAM)")});
    axis_->addItems({tr("Vertical, as drawn"), tr("Horizontal, wire entering from the left")});
    profile_->setCurrentIndex(initial.Profile == DxfProfile::Half ? 1 : 0);
    axis_->setCurrentIndex(initial.Axis == DxfAxis::Horizontal ? 1 : 0);

    auto* form = new QFormLayout;
    form->addRow(tr("&Contents:"), profile_);
    form->addRow(tr("&Axis:"), axis_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

DxfExportOptions DxfOptionsDialog::Options() const {
    return {profile_->currentIndex() == 1 ? DxfProfile::Half : DxfProfile::Section,
            axis_->currentIndex() == 1 ? DxfAxis::Horizontal : DxfAxis::Vertical};
}

} // namespace dieprofile

// The small step after choosing a .dxf file to export to: whether the file holds the whole
// section or only the closed half profile a CAM program cuts from, and which way the die's axis
// runs. The last choice is offered again next time.
#pragma once

#include "output/dxf_drawing.h"

#include <QDialog>

class QComboBox;

namespace dieprofile {

class DxfOptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit DxfOptionsDialog(const DxfExportOptions& initial, QWidget* parent = nullptr);

    DxfExportOptions Options() const;

    QComboBox* Profile() const { return profile_; }
    QComboBox* Axis() const { return axis_; }

private:
    QComboBox* profile_;
    QComboBox* axis_;
};

} // namespace dieprofile

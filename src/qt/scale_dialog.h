// The dialog of "Print at Scale…": the magnification (a choice of the usual projector lenses or
// any value from 1 to 1000), the bore only or the whole section, the region, the tolerance band
// mirroring, the cones' angle tolerance and the paper's orientation. It shows how many pages will
// print as the options change. A value that cannot be drawn is refused in place: OK stays disabled
// and the reason is shown.
#pragma once

#include "output/overlay_options.h"

#include <QDialog>
#include <cstddef>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace dieprofile {

// What the chart with some options would be: its pages, a warning, or why it cannot be printed.
struct ChartPreview {
    std::size_t Pages = 0;
    std::string Warning; // empty when nothing is wrong
    std::string Problem; // empty when it can be printed
};
using ChartPreviewer = std::function<ChartPreview(const OverlayOptions&)>;

class ScaleDialog : public QDialog {
    Q_OBJECT

public:
    // unitDivisor: the unit of the drawing, which the tolerance is typed in.
    // previewer, when given, tells the pages and warnings of the options as typed.
    explicit ScaleDialog(double unitDivisor, QWidget* parent = nullptr,
                         ChartPreviewer previewer = {});

    // The options as typed; valid whenever OK is enabled.
    OverlayOptions Options() const;

    QComboBox* Magnification() const { return magnification_; }
    QLineEdit* Tolerance() const { return tolerance_; }
    QRadioButton* WholeSection() const { return wholeSection_; }
    QComboBox* Region() const { return region_; }
    QCheckBox* Mirror() const { return mirror_; }
    QLineEdit* AngleTolerance() const { return angleTolerance_; }
    QComboBox* Orientation() const { return orientation_; }
    QLabel* PageCount() const { return pageCount_; }
    QLabel* Reason() const { return reason_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

private:
    void Recheck();

    QComboBox* magnification_;
    QRadioButton* boreOnly_;
    QRadioButton* wholeSection_;
    QLineEdit* tolerance_;
    QComboBox* region_;
    QCheckBox* mirror_;
    QLineEdit* angleTolerance_;
    QComboBox* orientation_;
    QLabel* pageCount_;
    QLabel* reason_;
    QDialogButtonBox* buttons_;
    OverlayOptions options_;
    ChartPreviewer previewer_;
};

} // namespace dieprofile

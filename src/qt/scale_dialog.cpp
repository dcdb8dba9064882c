#include "qt/scale_dialog.h"

#include "core/units.h"
#include "output/overlay_layout.h"
#include "qt/widget_design.h"

#include <QCheckBox>
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

ScaleDialog::ScaleDialog(double unitDivisor, QWidget* parent, ChartPreviewer previewer)
    : QDialog(parent), magnification_(new QComboBox(this)),
      boreOnly_(new QRadioButton(tr("Bore only"), this)),
      wholeSection_(new QRadioButton(tr("Whole section"), this)),
      tolerance_(new QLineEdit(QStringLiteral("0"), this)), region_(new QComboBox(this)),
      mirror_(new QCheckBox(tr("Mirrored, for optics that reverse the image"), this)),
      angleTolerance_(new QLineEdit(this)), orientation_(new QComboBox(this)),
      pageCount_(new QLabel(this)), reason_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      previewer_(std::move(previewer)) {
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
    band->addWidget(new QLabel(tr("on the radius"), this));
    // In the order of the regions, so an index is a region.
    region_->addItems(
        {tr("All"), tr("Entrance (bell)"), tr("Reduction cone"), tr("Bearing"), tr("Back relief")});

    auto* angle = new QHBoxLayout;
    angle->addWidget(new QLabel(QStringLiteral("\u00b1"), this));
    angle->addWidget(angleTolerance_);
    angle->addWidget(new QLabel(tr("\u00b0 on each cone's included angle"), this));
    angleTolerance_->setPlaceholderText(tr("none"));
    // In the order of the orientations, so an index is an orientation.
    orientation_->addItems({tr("Auto (fewer pages)"), tr("Portrait"), tr("Landscape")});

    auto* form = new QFormLayout;
    form->addRow(tr("Magnification (\u00d7):"), magnification_);
    form->addRow(tr("Draw:"), view);
    form->addRow(tr("Region:"), region_);
    form->addRow(tr("Tolerance band:"), band);
    form->addRow(tr("Angle tolerance:"), angle);
    form->addRow(QString(), mirror_);
    form->addRow(tr("Paper:"), orientation_);
    form->addRow(tr("Pages:"), pageCount_);

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
    connect(region_, &QComboBox::currentIndexChanged, this, &ScaleDialog::Recheck);
    connect(mirror_, &QCheckBox::toggled, this, &ScaleDialog::Recheck);
    connect(angleTolerance_, &QLineEdit::textChanged, this, &ScaleDialog::Recheck);
    connect(orientation_, &QComboBox::currentIndexChanged, this, &ScaleDialog::Recheck);
    Recheck();
}

OverlayOptions ScaleDialog::Options() const {
    return options_;
}

void ScaleDialog::Recheck() {
    const Expected<OverlayOptions> parsed = ParseOverlayOptions(
        magnification_->currentText().toStdString(), tolerance_->text().toStdString(),
        wholeSection_->isChecked() ? OverlayView::Section : OverlayView::Bore,
        angleTolerance_->text().toStdString());
    std::string problem;
    std::string warning;
    if (!parsed) {
        problem = parsed.Error().Message;
        pageCount_->setText(QStringLiteral("\u2013"));
    } else {
        options_ = *parsed;
        options_.Region = kOverlayRegions[std::max(0, region_->currentIndex())];
        options_.Mirror = mirror_->isChecked();
        options_.Orientation = kOverlayOrientations[std::max(0, orientation_->currentIndex())];
        if (previewer_) {
            const ChartPreview preview = previewer_(options_);
            problem = preview.Problem;
            warning = preview.Warning;
            pageCount_->setText(problem.empty() ? ToQString(PageCountText(preview.Pages))
                                                : QStringLiteral("\u2013"));
        }
    }
    // A warning leaves OK enabled: the chart can be printed, but the user should know.
    reason_->setText(ToQString(problem.empty() ? warning : problem));
    reason_->setVisible(!problem.empty() || !warning.empty());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(problem.empty());
}

} // namespace dieprofile

#include "qt/recut_window.h"

#include "core/number_text.h"
#include "inspection/report_page.h"
#include "qt/design_commands.h"
#include "qt/design_window.h"
#include "qt/export_painters.h"
#include "qt/inspection_plot.h"
#include "qt/local_path.h"
#include "qt/widget_design.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dieprofile {

RecutWindow::RecutWindow(DesignWindow& designed, const InspectionModel& inspection)
    : QWidget(nullptr, Qt::Window), designed_(designed), inspection_(inspection),
      model_(*this, designed.Model(), inspection) {
    setWindowTitle(QStringLiteral("Plan Recut"));
    setAttribute(Qt::WA_QuitOnClose, false);

    allowance_ = new QLineEdit;
    kind_ = new QComboBox;
    kind_->addItems({QStringLiteral("the next size by a step"), QStringLiteral("a size list"),
                     QStringLiteral("a die set's outlets")});
    sizes_ = new QLineEdit;
    chooseSet_ = new QPushButton(QStringLiteral("Choose Set…"));
    wall_ = new QLineEdit;
    wall_->setPlaceholderText(QStringLiteral("10 % of the blank's radius"));
    auto* plan = new QPushButton(QStringLiteral("Plan"));
    plan->setDefault(true);
    connect(kind_, &QComboBox::activated, this, &RecutWindow::KindChosen);
    connect(chooseSet_, &QPushButton::clicked, this, &RecutWindow::ChooseSet);
    connect(plan, &QPushButton::clicked, this, [this] { Plan(); });
    for (QLineEdit* field : {allowance_, sizes_, wall_}) {
        connect(field, &QLineEdit::returnPressed, this, [this] { Plan(); });
    }

    auto* sizesRow = new QHBoxLayout;
    sizesRow->addWidget(sizes_, 1);
    sizesRow->addWidget(chooseSet_);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Stock for polishing (on the radius):"), allowance_);
    fields->addRow(QStringLiteral("Sizes:"), kind_);
    fields->addRow(QString(), sizesRow);
    fields->addRow(QStringLiteral("Wall at the bell's mouth:"), wall_);
    fields->addRow(QString(), plan);

    plot_ = new InspectionPlot;
    line_ = new QLabel;
    QFont bold = line_->font();
    bold.setBold(true);
    line_->setFont(bold);
    line_->setWordWrap(true);
    figures_ = new QTableWidget(0, 3);
    figures_->setHorizontalHeaderLabels(
        {QStringLiteral("Figure"), QStringLiteral("Value"), QStringLiteral("Unit")});
    figures_->verticalHeader()->hide();
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    figures_->verticalHeader()->setDefaultSectionSize(figures_->fontMetrics().height() + 6);

    auto* buttons = new QHBoxLayout;
    const std::array<std::pair<QString, void (RecutWindow::*)()>, 3> commands{
        std::pair{QStringLiteral("Open in Window"), &RecutWindow::OpenInWindowClicked},
        std::pair{QStringLiteral("Save Design…"), &RecutWindow::SaveDesign},
        std::pair{QStringLiteral("Export Drawing…"), &RecutWindow::ExportDrawing}};
    for (const auto& [text, run] : commands) {
        auto* button = new QPushButton(text);
        buttons->addWidget(button);
        planned_.append(button);
        connect(button, &QPushButton::clicked, this, run);
    }
    buttons->addStretch(1);

    auto* side = new QVBoxLayout;
    side->addLayout(fields);
    side->addWidget(line_);
    side->addWidget(figures_, 1);
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(plot_, 1);
    layout->addLayout(side, 1);
    resize(1000, 640);
    KindChosen();
    Show();
}

void RecutWindow::KindChosen() {
    // The defaults in the inspected design's unit, as the model takes an empty field.
    const double unit = inspection_.Design() ? inspection_.Design()->UnitDivisor : 1;
    const int decimals = unit > 1 ? 4 : 3;
    allowance_->setPlaceholderText(ToQString(FixedDecimals(DefaultRecutAllowance(unit), decimals)));
    const int kind = kind_->currentIndex();
    sizes_->setPlaceholderText(kind == 0
                                   ? ToQString(FixedDecimals(DefaultRecutStep(unit), decimals))
                               : kind == 1 ? QStringLiteral("outlets, comma-separated")
                                           : QStringLiteral("the die set's file"));
    chooseSet_->setEnabled(kind == 2);
}

bool RecutWindow::Plan() {
    static constexpr std::array<RecutSizeKind, 3> kKinds{RecutSizeKind::Step, RecutSizeKind::List,
                                                         RecutSizeKind::DieSet};
    RecutTyped typed;
    typed.Allowance = allowance_->text().trimmed().toStdString();
    typed.Kind = kKinds.at(static_cast<std::size_t>(std::max(0, kind_->currentIndex())));
    typed.Sizes = typed.Kind == RecutSizeKind::DieSet ? PathBytes(sizes_->text())
                                                      : sizes_->text().trimmed().toStdString();
    typed.Wall = wall_->text().trimmed().toStdString();
    const bool planned = model_.PlanTyped(typed);
    Show();
    return planned;
}

void RecutWindow::Show() {
    const std::optional<RecutPlan>& plan = model_.Result();
    for (QPushButton* button : planned_) {
        button->setEnabled(plan.has_value());
    }
    plot_->Show(inspection_.Design(), inspection_.Result(),
                plan ? std::optional<BoreWall>(plan->Wall) : std::nullopt);
    figures_->setRowCount(0);
    line_->setText(plan ? ToQString(RecutLine(*plan)) : QStringLiteral("No recut planned yet."));
    if (!plan) {
        return;
    }
    const std::vector<RecutFigure> rows = RecutFigures(*plan);
    figures_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const RecutFigure& row = rows[static_cast<std::size_t>(r)];
        const std::array<std::string, 3> cells{ReportFigureWords(row.Quantity),
                                               ReportFigureText(row.Value, row.Unit), row.Unit};
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(ToQString(cells[static_cast<std::size_t>(c)]));
            if (c == 1) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            figures_->setItem(r, c, item);
        }
    }
}

bool RecutWindow::OpenInWindow() {
    const bool opened =
        model_.OpenInWindow(designed_.Model(), [this] { return designed_.MayLeaveDesign(); });
    designed_.Refresh();
    if (opened) {
        designed_.Widget().show();
        designed_.Widget().raise();
        designed_.Widget().activateWindow();
    }
    return opened;
}

void RecutWindow::OpenInWindowClicked() {
    OpenInWindow();
}

void RecutWindow::SaveDesign() {
    designed_.Commands().SaveDesignWith(model_.Origin(), [this](const QString& path) {
        return model_.SaveDesign(PathBytes(path));
    });
}

void RecutWindow::ExportDrawing() {
    designed_.Commands().ExportDrawingWith(
        model_.Drawing(), model_.Origin(),
        [this](const QString& path, const DxfExportOptions& dxf) {
            QtExportPainters painters;
            return model_.Export(PathBytes(path), &painters, DrawingRequest(path, {}, dxf));
        });
}

void RecutWindow::ChooseSet() {
    const QString path = ChooseInLastFolder([this](const QString& folder) {
        if (chooser_) {
            return chooser_(folder);
        }
        return QFileDialog::getOpenFileName(this, QStringLiteral("Die Set's Outlets"), folder,
                                            QStringLiteral("Die sets (*.dieset);;All files (*)"));
    });
    if (!path.isEmpty()) {
        sizes_->setText(path);
    }
}

void RecutWindow::ShowMessage(std::string_view text) {
    ShowMessageOver(*this, text);
}

} // namespace dieprofile

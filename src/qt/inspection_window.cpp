#include "qt/inspection_window.h"

#include "core/message_text.h"
#include "inspection/report_page.h"
#include "qt/design_commands.h"
#include "qt/design_window.h"
#include "qt/export_painters.h"
#include "qt/inspection_plot.h"
#include "qt/local_path.h"
#include "qt/recut_window.h"
#include "qt/widget_design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dieprofile {

namespace {

const QStringList kTableCaptions{QStringLiteral("Figure"),   QStringLiteral("Design"),
                                 QStringLiteral("Measured"), QStringLiteral("Deviation"),
                                 QStringLiteral("Unit"),     QStringLiteral("Within")};

} // namespace

InspectionWindow::InspectionWindow(DesignWindow& designed)
    : QWidget(nullptr, Qt::Window), model_(*this, designed.Model()), designed_(designed) {
    setWindowTitle(QStringLiteral("Inspect Die"));
    setAcceptDrops(true);

    auto* open = new QPushButton(QStringLiteral("Open Measured…"));
    auto* exportReport = new QPushButton(QStringLiteral("Export Report…"));
    connect(open, &QPushButton::clicked, this, &InspectionWindow::ChooseAndOpen);
    connect(exportReport, &QPushButton::clicked, this, &InspectionWindow::ChooseAndExport);
    planRecut_ = new QPushButton(QStringLiteral("Plan Recut…"));
    connect(planRecut_, &QPushButton::clicked, this, &InspectionWindow::PlanRecut);
    measured_ = new QLabel(QStringLiteral("No measured file: open one or drop it here."));

    plot_ = new InspectionPlot;

    verdict_ = new QLabel;
    QFont bold = verdict_->font();
    bold.setBold(true);
    verdict_->setFont(bold);
    verdict_->setWordWrap(true);
    table_ = new QTableWidget(0, static_cast<int>(kTableCaptions.size()));
    table_->setHorizontalHeaderLabels(kTableCaptions);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    notes_ = new QLabel;
    notes_->setWordWrap(true);

    tolerance_ = new QLineEdit;
    tolerance_->setPlaceholderText(QStringLiteral("none"));
    connect(tolerance_, &QLineEdit::editingFinished, this, &InspectionWindow::ToleranceTyped);
    walls_ = new QComboBox;
    walls_->addItems({QStringLiteral("told from the points"), QStringLiteral("one wall"),
                      QStringLiteral("both walls")});
    fitAxis_ = new QCheckBox(QStringLiteral("Fit the axis (one wall traced anywhere)"));
    layer_ = new QLineEdit;
    layer_->setPlaceholderText(QStringLiteral("every layer"));
    connect(walls_, &QComboBox::activated, this, &InspectionWindow::OptionsChosen);
    connect(fitAxis_, &QCheckBox::clicked, this, &InspectionWindow::OptionsChosen);
    connect(layer_, &QLineEdit::editingFinished, this,
            [this] { model_.SetLayer(PathBytes(layer_->text())); });

    auto* options = new QFormLayout;
    options->addRow(QStringLiteral("Tolerance on the radius:"), tolerance_);
    options->addRow(QStringLiteral("The file holds:"), walls_);
    options->addRow(QString(), fitAxis_);
    options->addRow(QStringLiteral("DXF layer:"), layer_);

    auto* figures = new QVBoxLayout;
    figures->addWidget(verdict_);
    figures->addWidget(table_, 1);
    figures->addWidget(notes_);
    figures->addLayout(options);

    auto* sideBySide = new QHBoxLayout;
    sideBySide->addWidget(plot_, 1);
    sideBySide->addLayout(figures, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(exportReport);
    buttons->addWidget(planRecut_);
    buttons->addWidget(measured_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(sideBySide, 1);
    resize(1000, 640);
    Show();
}

InspectionWindow::~InspectionWindow() = default;

void InspectionWindow::Show() {
    const std::optional<Inspection>& result = model_.Result();
    // A recut is planned from a die inspected: none before.
    planRecut_->setEnabled(result.has_value());
    plot_->Show(model_.Design(), result);
    verdict_->setText(result ? ToQString("Verdict: " + model_.Verdict()) : QString());
    if (recut_ != nullptr) {
        recut_->Show();
    }
    table_->setRowCount(0);
    notes_->clear();
    if (!result) {
        return;
    }
    measured_->setText(ToQString(
        QuotedForMessage(QFileInfo(ToQString(model_.MeasuredPath())).fileName().toStdString())));
    const std::vector<ReportRow> rows = InspectionRows(*model_.Design(), *result);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ReportRow& row = rows[static_cast<std::size_t>(r)];
        const std::string within = row.Within ? (*row.Within ? "yes" : "OUTSIDE") : "";
        const std::array<std::string, 6> cells{ReportFigureWords(row.Quantity),
                                               ReportFigureText(row.Design, row.Unit),
                                               ReportFigureText(row.Measured, row.Unit),
                                               ReportFigureText(row.Deviation, row.Unit),
                                               row.Unit,
                                               within};
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(ToQString(cells[static_cast<std::size_t>(c)]));
            if (c > 0 && c < 4) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (row.Within == false) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            table_->setItem(r, c, item);
        }
    }
    QString notes;
    for (const std::string& note : result->Notes) {
        notes += ToQString(note) + QLatin1Char('\n');
    }
    notes_->setText(notes.trimmed());
}

bool InspectionWindow::OpenMeasured(const QString& path) {
    model_.SetLayer(PathBytes(layer_->text()));
    const bool opened = model_.OpenMeasured(PathBytes(path));
    Show();
    return opened;
}

bool InspectionWindow::ExportReport(const QString& path) {
    model_.SetPaper(DefaultSheetPaper());
    QtExportPainters painters;
    return model_.ExportReport(PathBytes(path), &painters);
}

void InspectionWindow::ToleranceTyped() {
    model_.SetToleranceText(tolerance_->text().toStdString());
    Show();
}

void InspectionWindow::OptionsChosen() {
    static constexpr std::array<InspectedWalls, 3> kWalls{
        InspectedWalls::Either, InspectedWalls::One, InspectedWalls::Both};
    const auto index = static_cast<std::size_t>(std::max(0, walls_->currentIndex()));
    if (!model_.SetWalls(kWalls.at(index)) || !model_.SetFitAxis(fitAxis_->isChecked())) {
        // Refused: the options as they were.
        const InspectionOptions& kept = model_.Options();
        walls_->setCurrentIndex(
            static_cast<int>(std::ranges::find(kWalls, kept.Walls) - kWalls.begin()));
        fitAxis_->setChecked(kept.FitAxis);
    }
    Show();
}

void InspectionWindow::PlanRecut() {
    if (!model_.Result()) {
        return;
    }
    if (recut_ == nullptr) {
        recut_ = std::make_unique<RecutWindow>(designed_, model_);
    }
    recut_->show();
    recut_->raise();
    recut_->activateWindow();
}

void InspectionWindow::ChooseAndOpen() {
    const QString path = ChooseFile(FileDialog::OpenMeasured);
    if (!path.isEmpty()) {
        OpenMeasured(path);
    }
}

void InspectionWindow::ChooseAndExport() {
    const QString path = ChooseFile(FileDialog::ExportReport);
    if (!path.isEmpty()) {
        ExportReport(path);
    }
}

QString InspectionWindow::ChooseFile(FileDialog dialog) {
    return ChooseInLastFolder([&](const QString& folder) {
        if (chooser_) {
            return chooser_(dialog, folder);
        }
        if (dialog == FileDialog::OpenMeasured) {
            return QFileDialog::getOpenFileName(
                this, QStringLiteral("Open Measured"), folder,
                QStringLiteral("Measured points (*.csv *.txt *.dxf);;All files (*)"));
        }
        // The platform's dialog asks before replacing a file; the extension chooses the report.
        return QFileDialog::getSaveFileName(
            this, QStringLiteral("Export Report"), folder,
            QStringLiteral("PDF report (*.pdf);;CSV figures (*.csv)"));
    });
}

void InspectionWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().value(0).isLocalFile()) {
        event->acceptProposedAction();
    }
}

void InspectionWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile()) {
        event->acceptProposedAction();
        OpenMeasured(urls.front().toLocalFile());
    }
}

void InspectionWindow::ShowMessage(std::string_view text) {
    ShowMessageOver(*this, text);
}

} // namespace dieprofile

#include "qt/die_set_window.h"

#include "app/die_set_model.h"
#include "app/form_model.h"
#include "catalogue/catalogue.h"
#include "core/message_text.h"
#include "core/number_text.h"
#include "core/units.h"
#include "dieset/die_set.h"
#include "profile/form_design.h"
#include "qt/design_commands.h"
#include "qt/export_painters.h"
#include "qt/local_path.h"
#include "qt/pass_profile_dialog.h"
#include "qt/set_plot.h"
#include "qt/set_table_model.h"
#include "qt/sheet_details.h"
#include "qt/user_settings.h"
#include "qt/widget_design.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <array>
#include <limits>

namespace dieprofile {

namespace {

// The field of each input, by the set file's key; the caution level is the window's own.
std::vector<std::string_view> FieldKeys() {
    std::vector<std::string_view> keys;
    for (const DieSetFieldEntry& entry : DieSetFields()) {
        if (entry.Text != nullptr || IsList(entry.Field)) {
            keys.push_back(entry.Key);
        }
    }
    keys.emplace_back("caution");
    return keys;
}

// The field a refusal names; empty for the parts of the set that have no field.
std::string_view KeyOf(DieSetField field) {
    for (const DieSetFieldEntry& entry : DieSetFields()) {
        if (entry.Field == field && (entry.Text != nullptr || IsList(field))) {
            return entry.Key;
        }
    }
    return {};
}

const QString kCautionKey = QStringLiteral("dieSet/caution");
const QString kSetFilter = QStringLiteral("Die sets (*.dieset)");
const QString kTyped = QStringLiteral("Typed values");

// The typed outlets are one field: numbers apart by blanks, commas or semicolons.
QString JoinOutlets(const std::vector<std::string>& outlets) {
    QStringList parts;
    for (const std::string& outlet : outlets) {
        parts << QString::fromStdString(outlet);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

DieSetWindow::DieSetWindow(DesignWindow& designed) : designed_(designed) {
    setWindowTitle(QStringLiteral("Die Set"));
    setObjectName(QStringLiteral("DieSet"));
    // A window of its own, not one kept above the designed window: a pass opened from it must be
    // able to come to the front. Closing the designed window still ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* inputs = new QWidget(this);
    BuildInputs(inputs);

    refusal_ = new QLabel(this);
    refusal_->setObjectName(QStringLiteral("refusal"));
    refusal_->setWordWrap(true);
    QPalette warning = refusal_->palette();
    warning.setColor(QPalette::WindowText, QColor(0xa0, 0x00, 0x00));
    refusal_->setPalette(warning);
    refusal_->setVisible(false);

    tableModel_ = new SetTableModel(this);
    table_ = new QTableView(this);
    table_->setModel(tableModel_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Columns are fitted to their contents when the passes are counted anew; on a keystroke that
    // keeps them, a column only grows where a figure or a mark has become wider than it (a mark
    // appearing in an empty column was cut to "cau…"), so the table does not jump as one types.
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(tableModel_, &QAbstractItemModel::modelReset, table_,
            &QTableView::resizeColumnsToContents);
    connect(tableModel_, &QAbstractItemModel::dataChanged, table_, [this] {
        const QAbstractItemView& view = *table_;
        for (int column = 0; column < tableModel_->columnCount(); ++column) {
            if (view.sizeHintForColumn(column) > table_->columnWidth(column)) {
                table_->resizeColumnToContents(column);
            }
        }
    });
    table_->setToolTip(QStringLiteral("Double-click a pass to open its die in the window; its "
                                      "context menu or F2 gives its die a profile of its own"));
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { OpenPassInDesignedWindow(index.row()); });
    // A right click selects the row under it, so the menu and F2 both act on the current row.
    auto* passProfile = new QAction(QStringLiteral("Pass Profile…"), table_);
    passProfile->setShortcut(QKeySequence(Qt::Key_F2));
    passProfile->setShortcutContext(Qt::WidgetShortcut);
    connect(passProfile, &QAction::triggered, this,
            [this] { EditPassProfile(table_->currentIndex().row()); });
    table_->addAction(passProfile);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);

    // Profiles of passes beyond the count rest in the set: listed here, with a way to take them
    // out, and in use again when the count grows.
    resting_ = new QLabel(this);
    resting_->setObjectName(QStringLiteral("resting"));
    resting_->setWordWrap(true);
    removeResting_ = new QPushButton(QStringLiteral("Remove Resting Profiles"), this);
    removeResting_->setObjectName(QStringLiteral("removeResting"));
    removeResting_->setAutoDefault(false);
    connect(removeResting_, &QPushButton::clicked, this, &DieSetWindow::RemoveRestingProfiles);
    auto* restingLine = new QHBoxLayout;
    restingLine->addWidget(resting_, 1);
    restingLine->addWidget(removeResting_);

    plot_ = new SetPlotWidget(this);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(table_);
    splitter->addWidget(plot_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({820, 440});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(inputs);
    layout->addWidget(refusal_);
    layout->addLayout(restingLine);
    layout->addWidget(splitter, 1);
    BuildCommands();
    resize(kWantedSize);
}

void DieSetWindow::PlaceBeside(const QWidget& designed) {
    const QRect anchor = designed.frameGeometry();
    // Before it is shown its own frame is not known: the designed window's is drawn alike.
    const QSize frame = anchor.size() - designed.size();
    const QRect desk = designed.screen()->availableGeometry();
    const ScreenRect placed = dieprofile::PlaceBeside(
        {anchor.x(), anchor.y(), anchor.width(), anchor.height()},
        {desk.x(), desk.y(), desk.width(), desk.height()}, kWantedSize.width() + frame.width(),
        kWantedSize.height() + frame.height(), minimumSizeHint().width() + frame.width());
    resize(placed.Width - frame.width(), placed.Height - frame.height());
    move(placed.Left, placed.Top);
}

DieSetWindow::~DieSetWindow() {
    // The fields leave their focus while the window is taken apart, and would report it to a
    // window whose members are already gone.
    for (const auto& [key, field] : fields_) {
        field->disconnect(this);
    }
}

QLineEdit* DieSetWindow::AddField(std::string_view key) {
    auto* field = new QLineEdit(this);
    field->setObjectName(ToQString(key));
    // The field holds whatever the set file may hold: a valid set is never cut when shown.
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setMinimumWidth(70);
    fields_.emplace(std::string(key), field);
    return field;
}

void DieSetWindow::BuildInputs(QWidget* box) {
    for (std::string_view key : FieldKeys()) {
        AddField(key);
    }
    auto unitLabel = [this](const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("unit"));
        return label;
    };
    auto row = [](QWidget* field, QWidget* unit) {
        auto* line = new QHBoxLayout;
        line->addWidget(field, 1);
        if (unit != nullptr) {
            line->addWidget(unit);
        }
        return line;
    };

    auto* wire = new QGroupBox(QStringLiteral("Wire and schedule"), box);
    auto* wireForm = new QFormLayout(wire);
    wireForm->addRow(QStringLiteral("Start diameter:"),
                     row(Field("startDiameter"), unitLabel(QString())));
    wireForm->addRow(QStringLiteral("Finish diameter:"),
                     row(Field("finishDiameter"), unitLabel(QString())));
    schedule_ = new QComboBox(this);
    schedule_->setObjectName(QStringLiteral("schedule"));
    schedule_->addItems({QStringLiteral("Equal reductions over"),
                         QStringLiteral("Fewest dies, reduction at most"),
                         QStringLiteral("Outlets as typed")});
    wireForm->addRow(QStringLiteral("Schedule:"), schedule_);
    scheduleUnit_ = new QLabel(this);
    auto* scheduleValue = new QHBoxLayout;
    for (std::string_view key : {"dies", "percent", "outlets"}) {
        scheduleValue->addWidget(Field(key), 1);
    }
    scheduleValue->addWidget(scheduleUnit_);
    wireForm->addRow(QString(), scheduleValue);
    // Outlets a shop can make: every one but the finish to a step or to the nearest size kept.
    rounding_ = new QComboBox(this);
    rounding_->setObjectName(QStringLiteral("rounding"));
    rounding_->addItems({QStringLiteral("Exact outlets"), QStringLiteral("Outlets to a step of"),
                         QStringLiteral("Outlets to the nearest of")});
    rounding_->setToolTip(QStringLiteral("The finish stays exact; every other outlet is rounded "
                                         "and the dies, the figures and the exports follow it"));
    roundingUnit_ = new QLabel(this);
    auto* roundingValue = new QHBoxLayout;
    roundingValue->addWidget(rounding_);
    roundingValue->addWidget(Field("roundingStep"), 1);
    roundingValue->addWidget(Field("roundingSizes"), 1);
    roundingValue->addWidget(roundingUnit_);
    Field("roundingSizes")->setPlaceholderText(QStringLiteral("the sizes the shop keeps"));
    wireForm->addRow(QStringLiteral("Rounding:"), roundingValue);

    auto* wireMaterial =
        new QGroupBox(QStringLiteral("Material (Hollomon: flow stress = K·εⁿ)"), box);
    auto* materialForm = new QFormLayout(wireMaterial);
    material_ = new QComboBox(this);
    material_->setObjectName(QStringLiteral("material"));
    for (const WireMaterial& preset : WireMaterials()) {
        material_->addItem(ToQString(preset.Name));
        material_->setItemData(material_->count() - 1, ToQString(preset.Source), Qt::ToolTipRole);
    }
    material_->addItem(kTyped);
    materialForm->addRow(QStringLiteral("Wire:"), material_);
    materialForm->addRow(QStringLiteral("Strength coefficient K:"),
                         row(Field("strengthCoefficient"), unitLabel(QStringLiteral("MPa"))));
    materialForm->addRow(QStringLiteral("Hardening exponent n:"),
                         row(Field("hardeningExponent"), nullptr));
    materialForm->addRow(QStringLiteral("Density ρ:"),
                         row(Field("density"), unitLabel(QStringLiteral("kg/m³"))));
    materialForm->addRow(QStringLiteral("Specific heat c:"),
                         row(Field("specificHeat"), unitLabel(QStringLiteral("J/(kg·K)"))));

    auto* drawing = new QGroupBox(QStringLiteral("Drawing"), box);
    auto* drawingForm = new QFormLayout(drawing);
    drawingForm->addRow(QStringLiteral("Friction μ:"), row(Field("friction"), nullptr));
    drawingForm->addRow(QStringLiteral("Finishing speed:"),
                        row(Field("finishSpeed"), unitLabel(QStringLiteral("m/s"))));
    drawingForm->addRow(QStringLiteral("Caution at stress ratio:"), row(Field("caution"), nullptr));
    Field("caution")->setToolTip(
        QStringLiteral("Passes whose drawing stress exceeds this share of the drawn wire's flow "
                       "stress are marked; the default of 0.6 is a rule of thumb for you to set"));
    die_ = new QLabel(this);
    die_->setObjectName(QStringLiteral("die"));
    die_->setWordWrap(true);
    die_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    drawingForm->addRow(QStringLiteral("Die:"), die_);
    // The set's own die, edited as a pass's profile is, or taken from the designed window.
    auto* dieCommands = new QHBoxLayout;
    const auto dieCommand = [&](const QString& text, const QString& name, const QString& tip,
                                void (DieSetWindow::*run)()) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setToolTip(tip);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, run);
        dieCommands->addWidget(button);
    };
    dieCommand(QStringLiteral("Die Profile…"), QStringLiteral("dieProfile"),
               QStringLiteral("The blank, angles and lengths of every pass's die"),
               &DieSetWindow::EditDieProfile);
    dieCommand(QStringLiteral("From Window"), QStringLiteral("fromWindow"),
               QStringLiteral("Takes the designed window's present blank, angles and lengths as "
                              "the set's die; the wires and the schedule stay"),
               &DieSetWindow::TakeDieFromDesignedWindow);
    dieCommands->addStretch(1);
    drawingForm->addRow(QString(), dieCommands);

    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(wire, 3);
    layout->addWidget(wireMaterial, 3);
    layout->addWidget(drawing, 3);

    for (const auto& [key, field] : fields_) {
        if (key == "strengthCoefficient" || key == "hardeningExponent" || key == "density" ||
            key == "specificHeat") {
            connect(field, &QLineEdit::textEdited, this, &DieSetWindow::MaterialTyped);
        }
        connect(field, &QLineEdit::textChanged, this, [this, key = key](const QString& text) {
            if (!showing_) {
                model_.Type(key, text.toStdString());
            }
            Recompute();
        });
    }
    // The caution level is the user's habit, not the set's: it is kept for the next set.
    connect(Field("caution"), &QLineEdit::editingFinished, this, [this] {
        if (model_.Caution()) {
            UserSettings().setValue(kCautionKey, Field("caution")->text());
        }
    });
    connect(schedule_, &QComboBox::currentIndexChanged, this, &DieSetWindow::ScheduleChanged);
    connect(rounding_, &QComboBox::currentIndexChanged, this, &DieSetWindow::RoundingChanged);
    connect(material_, &QComboBox::activated, this, &DieSetWindow::MaterialChosen);
}

void DieSetWindow::BuildCommands() {
    auto* buttons = new QHBoxLayout;
    auto add = [&](const QString& text, const QKeySequence& keys, void (DieSetWindow::*run)()) {
        auto* action = new QAction(text, this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
        auto* button = new QPushButton(text, this);
        button->setToolTip(keys.toString(QKeySequence::NativeText));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        buttons->addWidget(button);
    };
    add(QStringLiteral("Open Set…"), QKeySequence(Qt::CTRL | Qt::Key_O),
        &DieSetWindow::ChooseAndOpen);
    add(QStringLiteral("Save Set…"), QKeySequence(Qt::CTRL | Qt::Key_S),
        &DieSetWindow::ChooseAndSave);
    add(QStringLiteral("Export CSV…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
        &DieSetWindow::ChooseAndExportCsv);
    add(QStringLiteral("Export PDF…"), QKeySequence(Qt::CTRL | Qt::Key_E),
        &DieSetWindow::ChooseAndExportPdf);
    buttons->addStretch(1);
    auto* hint =
        new QLabel(QStringLiteral("Double-click a pass to open its die in the window."), this);
    buttons->addWidget(hint);
    static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
}

QLineEdit* DieSetWindow::Field(std::string_view key) const {
    const auto found = fields_.find(key);
    return found == fields_.end() ? nullptr : found->second;
}

void DieSetWindow::StartFromDesignedWindow() {
    model_.StartFrom(designed_.Model().CurrentDesign());
    FillFields();
    ShowTitle();
}

void DieSetWindow::ShowSet(const DieSetFile& set) {
    model_.Start(set);
    FillFields();
    ShowTitle();
}

void DieSetWindow::ShowTitle() {
    const QString path = SetPath();
    setWindowTitle(path.isEmpty() ? QStringLiteral("Die Set")
                                  : QStringLiteral("Die Set - %1").arg(QFileInfo(path).fileName()));
}

bool DieSetWindow::MayLeaveSet() {
    if (!model_.HasSet() || !model_.HasChanged()) {
        return true;
    }
    const QString name =
        SetPath().isEmpty()
            ? QStringLiteral("The die set")
            : QStringLiteral("The die set %1")
                  .arg(ToQString(QuotedForMessage(QFileInfo(SetPath()).fileName().toStdString())));
    QMessageBox box(
        QMessageBox::Question, windowTitle(),
        QStringLiteral("%1 has changed since it was saved. Save the changes?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: {
        // Into its own file, or one the user chooses; a save that fails or is cancelled keeps it.
        const QString path = SetPath().isEmpty() ? ChooseFile(FileDialog::Save) : SetPath();
        return !path.isEmpty() && SaveSetFile(path);
    }
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void DieSetWindow::closeEvent(QCloseEvent* event) {
    if (!MayLeaveSet()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void DieSetWindow::FillFields() {
    const DieSetFile& set = model_.Set();
    showing_ = true;
    for (const DieSetFieldEntry& entry : DieSetFields()) {
        if (entry.Text != nullptr) {
            Field(entry.Key)->setText(ToQString(set.*(entry.Text)));
        }
    }
    Field("outlets")->setText(JoinOutlets(set.Outlets));
    Field("roundingSizes")->setText(JoinOutlets(set.RoundingSizes));
    schedule_->setCurrentIndex(static_cast<int>(set.Schedule));
    rounding_->setCurrentIndex(static_cast<int>(set.Rounding));
    if (Field("caution")->text().isEmpty()) {
        Field("caution")->setText(
            UserSettings().value(kCautionKey, QString::number(kDefaultCautionRatio)).toString());
    }
    model_.Type("caution", Field("caution")->text().toStdString());
    const int preset = material_->findText(ToQString(set.MaterialName));
    material_->setCurrentIndex(preset >= 0 ? preset : material_->count() - 1);
    for (QLabel* unit : findChildren<QLabel*>(QStringLiteral("unit"))) {
        if (unit->text().isEmpty() || unit->text() == u"mm" || unit->text() == u"in") {
            unit->setText(ToQString(set.Unit));
        }
    }
    showing_ = false;
    ScheduleChanged();
    RoundingChanged();
    ShowDie();
    Recompute();
}

QString DieSetWindow::SetPath() const {
    return QString::fromStdString(model_.Path());
}

void DieSetWindow::ScheduleChanged() {
    const auto kind = static_cast<ScheduleKind>(schedule_->currentIndex());
    if (!showing_) {
        model_.ChooseSchedule(kind);
    }
    Field("dies")->setVisible(kind == ScheduleKind::Equal);
    Field("percent")->setVisible(kind == ScheduleKind::Reduction);
    Field("outlets")->setVisible(kind == ScheduleKind::Diameters);
    scheduleUnit_->setText(kind == ScheduleKind::Equal       ? QStringLiteral("dies")
                           : kind == ScheduleKind::Reduction ? QStringLiteral("% per pass")
                                                             : ToQString(model_.Set().Unit));
    Field("outlets")->setPlaceholderText(QStringLiteral("every outlet, the last the finish"));
    Recompute();
}

void DieSetWindow::RoundingChanged() {
    const auto kind = static_cast<RoundingKind>(rounding_->currentIndex());
    if (!showing_) {
        model_.ChooseRounding(kind);
    }
    Field("roundingStep")->setVisible(kind == RoundingKind::Step);
    Field("roundingSizes")->setVisible(kind == RoundingKind::Sizes);
    roundingUnit_->setText(kind == RoundingKind::None ? QString() : ToQString(model_.Set().Unit));
    Recompute();
}

void DieSetWindow::MaterialChosen() {
    const auto presets = WireMaterials();
    const auto index = static_cast<std::size_t>(material_->currentIndex());
    if (index >= presets.size()) {
        return; // typed values: the fields stay as they are
    }
    model_.ChooseMaterial(presets[index].Name);
    const DieSetFile& set = model_.Set();
    showing_ = true;
    Field("strengthCoefficient")->setText(ToQString(set.StrengthCoefficient));
    Field("hardeningExponent")->setText(ToQString(set.HardeningExponent));
    Field("density")->setText(ToQString(set.Density));
    Field("specificHeat")->setText(ToQString(set.SpecificHeat));
    showing_ = false;
    Recompute();
}

void DieSetWindow::MaterialTyped() {
    // A value typed over a preset's makes the material the user's own.
    material_->setCurrentIndex(material_->count() - 1);
}

void DieSetWindow::ShowDie() {
    const DieSetFile& set = model_.Set();
    QStringList parts;
    parts << (set.Blank == kCustomBlankRow
                  ? QStringLiteral("own blank %1 × %2 %3")
                        .arg(ToQString(set.DieFieldTexts[6]), ToQString(set.DieFieldTexts[7]),
                             ToQString(set.Unit))
                  : ToQString(set.Blank));
    parts << QStringLiteral("reduction angle %1°").arg(ToQString(set.DieFieldTexts[0]));
    parts << QStringLiteral("bearing %1 %").arg(ToQString(set.DieFieldTexts[1]));
    die_->setText(parts.join(QStringLiteral(", ")));
    die_->setToolTip(QStringLiteral("The die of every pass but for what a pass has of its own; "
                                    "each pass sets its own wire diameters"));
}

void DieSetWindow::Recompute() {
    if (showing_) {
        return;
    }
    for (const auto& [key, field] : fields_) {
        field->setStyleSheet(QString());
    }
    const std::optional<double> caution = model_.Caution();
    QStringList problems;
    if (!caution) {
        problems << QStringLiteral("Caution Level must be a number above 0.");
        Field("caution")->setStyleSheet(QStringLiteral("QLineEdit { background: #f6caca; }"));
    }
    const std::optional<DieSetRefusal>& refusal = model_.Refused();
    if (refusal) {
        problems.prepend(ToQString(refusal->Message));
        if (QLineEdit* field = Field(KeyOf(refusal->Field))) {
            field->setStyleSheet(QStringLiteral("QLineEdit { background: #f6caca; }"));
        }
    }
    const std::optional<DieSetSchedule>& lastGood = model_.LastGood();
    refusal_->setText(problems.join(QLatin1Char(' ')));
    refusal_->setVisible(!problems.isEmpty());
    ShowResting(lastGood && !refusal ? lastGood->RestingOverrides : std::vector<int>{});
    // A refused field keeps the table and the plot of the last inputs that could be computed; a
    // set that never could be shows no schedule, never that of the set before it.
    if (!lastGood) {
        tableModel_->SetOwnFields({});
        tableModel_->SetSchedule(DieSetSchedule{}, tableModel_->Caution());
        plot_->SetData(SetPlotData{});
        return;
    }
    const double level = caution.value_or(tableModel_->Caution());
    if (!refusal || caution) {
        tableModel_->SetOwnFieldsOf(model_.Set(), *lastGood);
        tableModel_->SetSchedule(*lastGood, level);
        SetPlotData data;
        data.Caution = level;
        for (const DieSetPass& pass : lastGood->Passes) {
            data.ReductionPercent.push_back(pass.AreaReduction * 100);
            data.StressRatio.push_back(pass.StressRatio);
            data.TemperatureRiseK.push_back(pass.TemperatureRise);
        }
        plot_->SetData(std::move(data));
    }
}

void DieSetWindow::ShowResting(const std::vector<int>& passes) {
    QStringList names;
    for (const int pass : passes) {
        names << QString::number(pass);
    }
    const qsizetype count = model_.LastGood() ? qsizetype(model_.LastGood()->Passes.size()) : 0;
    resting_->setText(
        passes.size() == 1
            ? QStringLiteral("The own profile of pass %1 rests: the set has %2 passes; it comes "
                             "back when the count reaches it.")
                  .arg(names.join(QString()))
                  .arg(count)
            : QStringLiteral("The own profiles of passes %1 rest: the set has %2 passes; they "
                             "come back when the count reaches them.")
                  .arg(names.join(QStringLiteral(", ")))
                  .arg(count));
    resting_->setVisible(!passes.empty());
    removeResting_->setVisible(!passes.empty());
}

void DieSetWindow::RemoveRestingProfiles() {
    const std::optional<DieSetSchedule>& lastGood = model_.LastGood();
    if (!lastGood) {
        return;
    }
    for (const int pass : std::vector<int>(lastGood->RestingOverrides)) {
        model_.RemovePassProfile(pass);
    }
    Recompute();
}

void DieSetWindow::OpenPassInDesignedWindow(int row) {
    const std::optional<DieSetSchedule>& lastGood = model_.LastGood();
    if (!lastGood || row < 0 || row >= static_cast<int>(lastGood->Passes.size())) {
        return;
    }
    // As Open Design does: a changed design is not replaced without a question.
    if (!designed_.MayLeaveDesign()) {
        return;
    }
    designed_.Widget().show();
    designed_.Widget().raise();
    designed_.Widget().activateWindow();
    model_.OpenPassAsDesign(lastGood->Passes[static_cast<std::size_t>(row)].Pass,
                            designed_.Model());
    designed_.Refresh();
}

void DieSetWindow::EditPassProfile(int row) {
    const std::optional<DieSetSchedule>& lastGood = model_.LastGood();
    if (!lastGood || row < 0 || row >= static_cast<int>(lastGood->Passes.size())) {
        return;
    }
    const int pass = lastGood->Passes[static_cast<std::size_t>(row)].Pass;
    const PassOverride* own = FindPassOverride(model_.Set(), pass);
    PassProfileDialog dialog(pass, model_.Set().Blank, model_.Set().DieFieldTexts,
                             own ? own->Blank : std::nullopt,
                             own ? own->FieldTexts : OwnFieldTexts{}, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    model_.SetPassProfile(pass, dialog.FieldTexts(), dialog.Blank());
    Recompute();
}

void DieSetWindow::EditDieProfile() {
    if (!model_.HasSet()) {
        return;
    }
    PassProfileDialog dialog(model_.Set().Blank, model_.Set().DieFieldTexts, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    model_.SetDie(dialog.Blank().value_or(std::string()), dialog.DieTexts());
    ShowDie();
    Recompute();
}

void DieSetWindow::TakeDieFromDesignedWindow() {
    if (!model_.HasSet()) {
        return;
    }
    model_.TakeDesign(designed_.Model().CurrentDesign());
    ShowDie();
    Recompute();
}

void DieSetWindow::Messages::ShowMessage(std::string_view text) {
    Last = std::string(text);
    window_.Tell(ToQString(text));
}

void DieSetWindow::Tell(const QString& text) {
    if (messages_) {
        messages_(text);
        return;
    }
    QMessageBox::warning(this, windowTitle(), text);
}

bool DieSetWindow::OpenSetFile(const QString& path) {
    if (!model_.Open(PathBytes(path))) {
        return false;
    }
    FillFields();
    ShowTitle();
    return true;
}

bool DieSetWindow::SaveSetFile(const QString& path) {
    if (!model_.Save(PathBytes(path))) {
        return false;
    }
    ShowTitle();
    return true;
}

std::optional<QString> DieSetWindow::ExportCsv(const QString& path) {
    return Export(path, DieSetExportFormat::Csv);
}

std::optional<QString> DieSetWindow::ExportPdf(const QString& path) {
    return Export(path, DieSetExportFormat::Pdf);
}

std::optional<QString> DieSetWindow::Export(const QString& path, DieSetExportFormat format) {
    QtExportPainters painters;
    if (!model_.Export(PathBytes(path), format, &painters, DefaultSheetPaper(),
                       LoadSheetDetails())) {
        return ToQString(toolkit_.Last);
    }
    return std::nullopt;
}

QString DieSetWindow::ChooseFile(FileDialog dialog) {
    return ChooseInLastFolder([&](const QString& lastUsed) {
        const QString folder = QString::fromStdString(model_.DialogFolder(PathBytes(lastUsed)));
        return chooser_ ? chooser_(dialog, folder) : PlatformDialog(dialog, folder);
    });
}

QString DieSetWindow::PlatformDialog(FileDialog dialog, const QString& folder) {
    const QString name = QFileInfo(SetPath()).completeBaseName();
    const QString stem = QDir(folder).filePath(name.isEmpty() ? QStringLiteral("set") : name);
    // The dialog adds the extension to a name typed without it before it asks whether to replace
    // the file, so the question is about the file that will be written.
    auto save = [&](const QString& title, const QString& suffix, const QString& filter) {
        QFileDialog chooser(this, title, folder, filter);
        chooser.setAcceptMode(QFileDialog::AcceptSave);
        chooser.setDefaultSuffix(suffix);
        chooser.selectFile(stem + QLatin1Char('.') + suffix);
        return chooser.exec() == QDialog::Accepted ? chooser.selectedFiles().value(0) : QString();
    };
    switch (dialog) {
    case FileDialog::Open:
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open Die Set"), folder,
                                            kSetFilter + QStringLiteral(";;All files (*)"));
    case FileDialog::Save:
        return save(QStringLiteral("Save Die Set"), QStringLiteral("dieset"), kSetFilter);
    case FileDialog::ExportCsv:
        return save(QStringLiteral("Export the Schedule as CSV"), QStringLiteral("csv"),
                    QStringLiteral("CSV table (*.csv)"));
    case FileDialog::ExportPdf:
        return save(QStringLiteral("Export the Set as PDF"), QStringLiteral("pdf"),
                    QStringLiteral("PDF document (*.pdf)"));
    }
    return {};
}

void DieSetWindow::ChooseAndOpen() {
    if (!MayLeaveSet()) {
        return;
    }
    const QString path = ChooseFile(FileDialog::Open);
    if (!path.isEmpty()) {
        OpenSetFile(path);
    }
}

void DieSetWindow::ChooseAndSave() {
    const QString path = ChooseFile(FileDialog::Save);
    if (!path.isEmpty()) {
        SaveSetFile(path);
    }
}

void DieSetWindow::ChooseAndExportCsv() {
    const QString path = ChooseFile(FileDialog::ExportCsv);
    if (!path.isEmpty()) {
        ExportCsv(path);
    }
}

void DieSetWindow::ChooseAndExportPdf() {
    const QString path = ChooseFile(FileDialog::ExportPdf);
    if (!path.isEmpty()) {
        ExportPdf(path);
    }
}

} // namespace dieprofile

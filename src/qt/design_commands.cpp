#include "qt/design_commands.h"

#include "app/form_model.h"
#include "app/inspection_model.h"
#include "core/file_name.h"
#include "core/message_text.h"
#include "core/units.h"
#include "output/design_file.h"
#include "qt/dxf_options_dialog.h"
#include "qt/export_painters.h"
#include "qt/local_path.h"
#include "qt/overlay_print.h"
#include "qt/sheet_details.h"
#include "qt/user_settings.h"
#include "qt/widget_design.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>

namespace dieprofile {

namespace {

const QString kFolderKey = QStringLiteral("files/lastFolder");
const QString kDxfHalfKey = QStringLiteral("dxf/halfProfile");
const QString kDxfHorizontalKey = QStringLiteral("dxf/horizontalAxis");
const QString kDesignFilter = QStringLiteral("Die Profile designs (*.dieprofile)");
const QString kPdfFilter = QStringLiteral("PDF drawing sheet (*.pdf)");
const QString kSvgFilter = QStringLiteral("SVG drawing sheet (*.svg)");
const QString kDxfFilter = QStringLiteral("DXF section for CAM (*.dxf)");

// A name typed without an extension gets the one of the kind chosen.
QString WithExtension(const QString& path, const QStringList& known, const QString& fallback) {
    return known.contains(QString::fromStdString(ExtensionOf(path.toStdString())))
               ? path
               : path + QLatin1Char('.') + fallback;
}

} // namespace

DesignCommands::DesignCommands(DesignWindow& window)
    : QObject(&window.Widget()), window_(window), widget_(window.Widget()) {
    // One line a command; the menu lists them in this order.
    AddCommand(QStringLiteral("Open Design…"), QKeySequence(Qt::CTRL | Qt::Key_O),
               &DesignCommands::OpenDesign);
    AddCommand(QStringLiteral("Save Design…"), QKeySequence(Qt::CTRL | Qt::Key_S),
               &DesignCommands::SaveDesign);
    AddCommand(QStringLiteral("Export Drawing…"), QKeySequence(Qt::CTRL | Qt::Key_E),
               &DesignCommands::ExportDrawing);
    AddCommand(QStringLiteral("Print Drawing…"), QKeySequence(Qt::CTRL | Qt::Key_P),
               &DesignCommands::PrintDrawing);
    AddCommand(QStringLiteral("Print at Scale…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
               &DesignCommands::PrintAtScale);
    // These three put the last Calculate's drawing on paper or in a file: there is none before.
    drawingActions_ = actions_.mid(actions_.size() - 3);
    UpdateEnabled();

    // The die set: a window of its own beside this one.
    AddCommand(QStringLiteral("Die Set…"), QKeySequence(Qt::CTRL | Qt::Key_D),
               &DesignCommands::OpenDieSet);

    // The measured die against the last Calculate: like the exports, none before one.
    AddCommand(QStringLiteral("Inspect Die…"), QKeySequence(Qt::CTRL | Qt::Key_I),
               &DesignCommands::InspectDie);
    drawingActions_.append(actions_.back());
    UpdateEnabled();

    // Who owns, draws and approves the sheets, and the design's drawing number, title, revision.
    AddCommand(QStringLiteral("Sheet Details…"), QKeySequence(), &DesignCommands::EditSheetDetails);
}

void DesignCommands::AddCommand(const QString& text, const QKeySequence& keys,
                                void (DesignCommands::*run)()) {
    auto* action = new QAction(text, &widget_);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, run);
    widget_.addAction(action);
    actions_.append(action);
}

void DesignCommands::UpdateEnabled() {
    for (QAction* action : drawingActions_) {
        action->setEnabled(window_.Model().LastCalculation().has_value());
    }
}

bool DesignCommands::MayLeaveDesign() {
    Form1Model& model = window_.Model();
    if (!model.HasUnsavedChanges()) {
        return true;
    }
    QMessageBox box(
        QMessageBox::Question, widget_.windowTitle(),
        QStringLiteral("The design %1 has changed since it was saved. Save the changes?")
            .arg(ToQString(QuotedForMessage(model.DesignName()))),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &widget_);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: {
        // Into the file it came from; a save that fails keeps the design here.
        const bool saved = model.SaveDesign(model.DesignPath());
        window_.Refresh();
        return saved;
    }
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

QString DesignCommands::ConfirmReplacing(const QString& typed, const QString& path,
                                         const QString& title) {
    // The dialog asked before replacing the name as typed; the name with the extension added
    // here it never saw.
    if (path == typed || !QFileInfo::exists(path)) {
        return path;
    }
    const QMessageBox::StandardButton answer = QMessageBox::question(
        &widget_, title,
        QStringLiteral("%1 already exists.\nDo you want to replace it?")
            .arg(ToQString(QuotedForMessage(QFileInfo(path).fileName().toStdString()))),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes ? path : QString();
}

QMenu* DesignCommands::CreateMenu(QWidget* parent) const {
    auto* menu = new QMenu(parent);
    menu->addActions(actions_);
    return menu;
}

QString ChooseInLastFolder(const std::function<QString(const QString& folder)>& ask) {
    QSettings settings = UserSettings();
    QString path = ask(settings.value(kFolderKey, QDir::homePath()).toString());
    if (!path.isEmpty()) {
        settings.setValue(kFolderKey, QFileInfo(path).absolutePath());
    }
    return path;
}

namespace {

void RememberFolder(const QString& path) {
    UserSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

} // namespace

QString DesignCommands::ChooseFile(FileDialog dialog, const std::string& name) {
    QSettings settings = UserSettings();
    const QString folder = settings.value(kFolderKey, QDir::homePath()).toString();
    QString path = chooser_ ? chooser_(dialog, folder) : PlatformDialog(dialog, folder, name);
    // A file is only opened from a folder that is there; a save or an export that fails must not
    // make its folder the next dialog's start, so those remember it once written.
    if (!path.isEmpty() && dialog == FileDialog::Open) {
        RememberFolder(path);
    }
    return path;
}

QString DesignCommands::PlatformDialog(FileDialog dialog, const QString& folder,
                                       const std::string& name) {
    const QString base = QFileInfo(ToQString(name)).completeBaseName();
    const QString stem = QDir(folder).filePath(base.isEmpty() ? QStringLiteral("die") : base);
    switch (dialog) {
    case FileDialog::Open:
        return QFileDialog::getOpenFileName(&widget_, QStringLiteral("Open Design"), folder,
                                            kDesignFilter + QStringLiteral(";;All files (*)"));
    case FileDialog::Save: {
        const QString path =
            QFileDialog::getSaveFileName(&widget_, QStringLiteral("Save Design"),
                                         stem + QStringLiteral(".dieprofile"), kDesignFilter);
        return path.isEmpty() ? path
                              : ConfirmReplacing(path,
                                                 WithExtension(path, {QStringLiteral("dieprofile")},
                                                               QStringLiteral("dieprofile")),
                                                 QStringLiteral("Save Design"));
    }
    case FileDialog::Export: {
        QString filter = kPdfFilter;
        const QString path = QFileDialog::getSaveFileName(
            &widget_, QStringLiteral("Export Drawing"), stem + QStringLiteral(".pdf"),
            QStringList{kPdfFilter, kSvgFilter, kDxfFilter}.join(QStringLiteral(";;")), &filter);
        const QString chosen = filter == kSvgFilter   ? QStringLiteral("svg")
                               : filter == kDxfFilter ? QStringLiteral("dxf")
                                                      : QStringLiteral("pdf");
        return path.isEmpty()
                   ? path
                   : ConfirmReplacing(path,
                                      WithExtension(path,
                                                    {QStringLiteral("pdf"), QStringLiteral("svg"),
                                                     QStringLiteral("dxf")},
                                                    chosen),
                                      QStringLiteral("Export Drawing"));
    }
    }
    return {};
}

void DesignCommands::OpenDesign() {
    if (!MayLeaveDesign()) {
        return;
    }
    const QString path = ChooseFile(FileDialog::Open, window_.Model().DesignName());
    if (!path.isEmpty()) {
        window_.OpenDesignFile(path);
    }
}

void DesignCommands::SaveDesign() {
    SaveDesignWith(window_.Model().DesignName(), [this](const QString& path) {
        const bool saved = window_.Model().SaveDesign(PathBytes(path));
        window_.Refresh();
        return saved;
    });
}

void DesignCommands::SaveDesignWith(const std::string& name,
                                    const std::function<bool(const QString&)>& save) {
    const QString path = ChooseFile(FileDialog::Save, name);
    if (!path.isEmpty() && save(path)) {
        RememberFolder(path);
    }
}

void DesignCommands::ExportDrawing() {
    Form1Model& model = window_.Model();
    ExportDrawingWith(model, model.DesignName(),
                      [this, &model](const QString& path, const DxfExportOptions& dxf) {
                          const Expected<void, ExportRefusal> exported = ExportDrawingFile(
                              model, ToQString(model.DrawingDesignName()), path, {}, dxf);
                          if (!exported) {
                              window_.ShowMessage(exported.Error().Message);
                          }
                          return exported.HasValue();
                      });
}

void DesignCommands::ExportDrawingWith(const Form1Model& drawing, const std::string& name,
                                       const DrawingWriter& write) {
    const QString path = ChooseFile(FileDialog::Export, name);
    if (path.isEmpty()) {
        return;
    }
    DxfExportOptions dxf;
    if (HasExtension(path.toStdString(), "dxf") && drawing.LastCalculation()) {
        QSettings settings = UserSettings();
        DxfOptionsDialog dialog(
            {settings.value(kDxfHalfKey).toBool() ? DxfProfile::Half : DxfProfile::Section,
             settings.value(kDxfHorizontalKey).toBool() ? DxfAxis::Horizontal : DxfAxis::Vertical},
            &widget_);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        dxf = dialog.Options();
        settings.setValue(kDxfHalfKey, dxf.Profile == DxfProfile::Half);
        settings.setValue(kDxfHorizontalKey, dxf.Axis == DxfAxis::Horizontal);
    }
    if (write(path, dxf)) {
        RememberFolder(path);
    }
}

void DesignCommands::PrintDrawing() {
    if (const std::optional<QString> message = dieprofile::PrintDrawing(
            &widget_, window_.Model(), ToQString(window_.Model().DrawingDesignName()))) {
        window_.ShowMessage(message->toStdString());
    }
}

void DesignCommands::OpenDieSet() {
    window_.ShowDieSet();
}

void DesignCommands::InspectDie() {
    if (const Expected<InspectionDesign> design = InspectionDesignOf(window_.Model()); !design) {
        window_.ShowMessage(CannotInspect(window_.Model().DesignName(), design.Error().Message));
        return;
    }
    window_.ShowInspection();
}

void DesignCommands::PrintAtScale() {
    if (const std::optional<QString> message = dieprofile::PrintAtScale(
            &widget_, window_.Model(), ToQString(window_.Model().DrawingDesignName()))) {
        window_.ShowMessage(message->toStdString());
    }
}

void DesignCommands::EditSheetDetails() {
    Form1Model& model = window_.Model();
    SheetDetailsDialog dialog(LoadSheetDetails(), model.Identity(),
                              model.OptionIndex() == 0 ? kInchUnitDivisor : kMillimetreUnitDivisor,
                              &widget_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    SaveSheetDetails(dialog.Details());
    model.SetIdentity(dialog.Identity());
}

} // namespace dieprofile

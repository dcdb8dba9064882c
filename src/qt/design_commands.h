// The commands beyond the designed window: open and save a design, export and print its drawing
// sheet. Each is an action of the window, its shortcut working from any control, and an entry of
// the context menu that shows the shortcut.
#pragma once

#include "output/dxf_drawing.h"
#include "qt/design_window.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QAction;
class QKeySequence;
class QMenu;
class QPoint;
class QWidget;

namespace dieprofile {

// Asks for a file through ask(folder), starting in the folder used last by any of the program's
// file dialogs, and remembers the chosen file's folder; empty when the user cancels.
QString ChooseInLastFolder(const std::function<QString(const QString& folder)>& ask);

class DesignCommands : public QObject {
    Q_OBJECT
public:
    explicit DesignCommands(DesignWindow& window);

    // The context menu's entries in order.
    const QList<QAction*>& Actions() const { return actions_; }
    // The context menu, made when it is asked for; the caller owns it.
    QMenu* CreateMenu(QWidget* parent) const;

    enum class FileDialog { Open, Save, Export };
    // Asks where to read or write, starting in folder; an empty path when the user cancels. The
    // window uses the platform's dialogs; tests put a function that answers at once.
    using FileChooser = std::function<QString(FileDialog dialog, const QString& folder)>;
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // Enables the drawing's commands once a Calculate has drawn; the window calls it as it shows
    // the model's state.
    void UpdateEnabled();
    // Before the design is left (the window closed, another design opened): a design from a file
    // that has changed since asks Save / Discard / Cancel. True when it may be left.
    bool MayLeaveDesign();

    void OpenDesign();
    void SaveDesign();
    void ExportDrawing();
    // Export Drawing… of another drawing than the window's (a recut's): the same dialog, named
    // after it, and a DXF's options once it is drawn, then write(path, dxf), true when written.
    using DrawingWriter = std::function<bool(const QString& path, const DxfExportOptions& dxf)>;
    void ExportDrawingWith(const Form1Model& drawing, const std::string& name,
                           const DrawingWriter& write);
    // Save Design… of another design than the window's: the same dialog, then save(path).
    void SaveDesignWith(const std::string& name, const std::function<bool(const QString&)>& save);
    void PrintDrawing();
    void PrintAtScale();
    void OpenDieSet();
    void InspectDie();
    void EditSheetDetails();

private:
    void AddCommand(const QString& text, const QKeySequence& keys, void (DesignCommands::*run)());
    // The chosen path, or empty; remembers its folder for the next dialog.
    QString ChooseFile(FileDialog dialog, const std::string& name);
    QString PlatformDialog(FileDialog dialog, const QString& folder, const std::string& name);

    // path as chosen, or empty when it names an existing file the dialog did not ask about (the
    // extension was added after it) and the user does not want it replaced.
    QString ConfirmReplacing(const QString& typed, const QString& path, const QString& title);

    DesignWindow& window_;
    QWidget& widget_; // the window's widget: it owns the actions and parents the dialogs
    QList<QAction*> actions_;
    QList<QAction*> drawingActions_;
    FileChooser chooser_;
};

} // namespace dieprofile

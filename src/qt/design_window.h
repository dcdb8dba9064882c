// What the commands and the Die Set window ask of the designed window they work beside. The main
// window implements it; they hold this instead of the window itself, so that the window's file
// and theirs do not include each other.
#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace dieprofile {

class DesignCommands;
class DieSetWindow;
class InspectionWindow;
class Form1Model;

class DesignWindow {
public:
    virtual ~DesignWindow() = default;

    // The window's widget: it owns the commands' actions and parents their dialogs.
    virtual QWidget& Widget() = 0;
    virtual Form1Model& Model() = 0;
    // Shows the model's present state in the widgets.
    virtual void Refresh() = 0;
    // Asks Save / Discard / Cancel when the design has changed since its file; true when it may
    // be replaced.
    virtual bool MayLeaveDesign() = 0;
    // Opens the design file as Open Design… does once a file is chosen.
    virtual void OpenDesignFile(const QString& path) = 0;
    // Its commands (Save Design…, Export Drawing…), which the windows beside it reuse.
    virtual DesignCommands& Commands() const = 0;
    // The Die Set window, shown and raised.
    virtual DieSetWindow& ShowDieSet() = 0;
    // The inspection window, shown and raised.
    virtual InspectionWindow& ShowInspection() = 0;
    // A message box with the window's caption, as the model shows one.
    virtual void ShowMessage(std::string_view text) = 0;
};

} // namespace dieprofile

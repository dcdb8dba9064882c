// The Qt window Form1: widgets built from the design tables, each user event handed to the
// window model, and the model's state shown afterwards. It is also the model's toolkit.
#pragma once

#include "app/form_model.h"
#include "app/toolkit.h"
#include "qt/design_window.h"
#include "qt/drawing_panel.h"
#include "qt/field_edit.h"

#include <QWidget>
#include <array>
#include <map>
#include <memory>

class QCloseEvent;
class QComboBox;
class QContextMenuEvent;
class QLabel;
class QMoveEvent;
class QPushButton;
class QRadioButton;
class QResizeEvent;

namespace dieprofile {

class DesignCommands;
class DieSetWindow;
class InspectionWindow;
class ContactLabel;

class MainWindow : public QWidget, public Toolkit, public DesignWindow {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // Loads the window (centring it and choosing the first blank) and shows it.
    void Start();

    QWidget& Widget() override { return *this; }
    Form1Model& Model() override { return model_; }
    const Form1Model& Model() const { return model_; }

    // The controls, for the view tests and for printing.
    FieldEdit* Field(ControlId id) const;
    QComboBox* BlankList() const { return combo_; }
    QRadioButton* Option(int index) const { return options_.at(static_cast<std::size_t>(index)); }
    QPushButton* CalculateButton() const { return calculate_; }
    QPushButton* PrintButton() const { return print_; }
    QLabel* ValueLabel(std::string_view name) const;
    QLabel* CaptionLabel(std::string_view name) const;
    // A contact line of the banner (ContactLines()); nullptr for any other name.
    ContactLabel* ContactLine(std::string_view name) const;
    DrawingPanel* Panel() const { return panel_; }

    // Shows the model's present state in the widgets.
    void Refresh() override;

    // Open, Save, Export and Print of the design, from the context menu and the shortcuts.
    DesignCommands& Commands() const override { return *commands_; }
    // Opens the design file as Open Design… does once a file is chosen.
    void OpenDesignFile(const QString& path) override;
    bool MayLeaveDesign() override;

    // The Die Set window: shown and raised; started from this window's design when it was not
    // open. With a path, the set file is opened in it instead.
    DieSetWindow& ShowDieSet() override;
    DieSetWindow& ShowDieSetFile(const QString& path);
    DieSetWindow* DieSet() const { return dieSet_.get(); }
    InspectionWindow& ShowInspection() override;
    InspectionWindow* Inspection() const { return inspection_.get(); }

    // Toolkit.
    void ShowMessage(std::string_view text) override;
    void MoveFocus(ControlId control) override;
    TwipSize ScreenSize() override;
    TwipSize WindowOuterSize() override;
    void MoveWindow(float left, float top) override;
    void ResizeWindow(float outerWidth, float outerHeight) override;
    void RepaintNow() override;
    void SetPrinterOrientation(int orientation) override { orientation_ = orientation; }
    PrintOutcome PrintWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Right-click anywhere but in a text field (which keeps its own edit menu).
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Asks about unsaved changes to a design from a file first.
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void ConnectEvents();
    QWidget* Widget(ControlId id) const;
    ControlId IdOf(const QWidget* widget) const;
    void ShowField(ControlId id);
    void RecentreOnceFramed();
    // After a user event: the model ran its handler; show the result.
    template <typename Handler> void Handle(Handler&& handler);

    Form1Model model_;
    DrawingPanel* panel_ = nullptr;
    QComboBox* combo_ = nullptr;
    std::array<QRadioButton*, 2> options_{};
    QPushButton* calculate_ = nullptr;
    QPushButton* print_ = nullptr;
    DesignCommands* commands_ = nullptr;
    std::unique_ptr<DieSetWindow> dieSet_;
    std::unique_ptr<InspectionWindow> inspection_;
    std::map<ControlId, FieldEdit*> fields_;
    std::map<std::string, QLabel*, std::less<>> labels_;
    int orientation_ = 1;
    bool recentred_ = false;
    bool refreshing_ = false;
    QMetaObject::Connection focusTracking_;
};

} // namespace dieprofile

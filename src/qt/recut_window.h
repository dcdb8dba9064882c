// The recut step beside the inspection window: the stock left for polishing, the sizes the recut
// may go to (the next size by a step, a size list, a die set's outlets), the wall to leave; the
// recut over the worn bore and the design on the inspection's plot, its figures and its line;
// Open in Window, Save Design… and Export Drawing… as the designed window has them. Every
// decision is the recut model's.
#pragma once

#include "app/recut_model.h"
#include "qt/message_toolkit.h"

#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace dieprofile {

class DesignWindow;
class InspectionPlot;

class RecutWindow : public QWidget, private MessageToolkit {
    Q_OBJECT
public:
    // A window of its own for the die the inspection holds, against the designed window.
    RecutWindow(DesignWindow& designed, const InspectionModel& inspection);

    // Plans the recut from the fields; a refusal is one message and the plan shown stays.
    bool Plan();
    // The recut design in the designed window, calculated, after its unsaved-changes question.
    bool OpenInWindow();
    // As the designed window's commands, on the recut.
    void SaveDesign();
    void ExportDrawing();
    // The die set whose outlets the recut may go to, chosen in a file dialog.
    void ChooseSet();
    // The model's present state in the widgets; the inspection window asks for it when the die
    // is inspected again, which drops the plan made before.
    void Show();

    // The die set's dialog, unless tests put a function that answers; empty when cancelled.
    using FileChooser = std::function<QString(const QString& folder)>;
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // Messages go to a box unless tests put a function that takes them.
    using MessageToolkit::SetMessageSink;

    // For the tests.
    const RecutModel& Model() const { return model_; }
    QLineEdit* Allowance() const { return allowance_; }
    QComboBox* Kind() const { return kind_; }
    QLineEdit* Sizes() const { return sizes_; }
    QLineEdit* Wall() const { return wall_; }
    QTableWidget* Figures() const { return figures_; }
    QLabel* Line() const { return line_; }

private:
    void KindChosen();
    void OpenInWindowClicked();
    void ShowMessage(std::string_view text) override;

    DesignWindow& designed_;
    const InspectionModel& inspection_;
    RecutModel model_;
    QLineEdit* allowance_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLineEdit* sizes_ = nullptr;
    QPushButton* chooseSet_ = nullptr;
    QLineEdit* wall_ = nullptr;
    InspectionPlot* plot_ = nullptr;
    QTableWidget* figures_ = nullptr;
    QLabel* line_ = nullptr;
    QList<QPushButton*> planned_; // the commands on a plan: none before one
    FileChooser chooser_;
};

} // namespace dieprofile

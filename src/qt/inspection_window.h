// The inspection window: a measured bore held against the designed window's last Calculate. Open
// Measured… (or a file dropped on the window) reads it; side by side the plot and the table of
// figures with the verdict, and the options (the tolerance on the radius, the walls the file
// holds, the axis fitted, a DXF's layer); Export Report… writes the PDF or the CSV by the
// extension. Every decision is the inspection model's.
#pragma once

#include "app/inspection_model.h"
#include "qt/message_toolkit.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace dieprofile {

class DesignWindow;
class InspectionPlot;
class RecutWindow;

class InspectionWindow : public QWidget, private MessageToolkit {
    Q_OBJECT
public:
    // A window of its own beside the designed window, which owns it.
    explicit InspectionWindow(DesignWindow& designed);
    ~InspectionWindow() override;
    InspectionWindow(const InspectionWindow&) = delete;
    InspectionWindow& operator=(const InspectionWindow&) = delete;

    // Reads and inspects the measured file; a refusal is a message and the window stays as it
    // was. True when inspected.
    bool OpenMeasured(const QString& path);
    // Writes the report to path by its extension; true when written.
    bool ExportReport(const QString& path);

    enum class FileDialog { OpenMeasured, ExportReport };
    // Asks where to read or write, starting in folder; empty when cancelled. The platform's
    // dialogs (which ask before replacing a file) unless tests put one of their own.
    using FileChooser = std::function<QString(FileDialog dialog, const QString& folder)>;
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // Messages go to a box unless tests put a function that takes them.
    using MessageToolkit::SetMessageSink;

    // For the tests.
    const InspectionModel& Model() const { return model_; }
    QTableWidget* Table() const { return table_; }
    QLabel* Verdict() const { return verdict_; }
    QLineEdit* Tolerance() const { return tolerance_; }
    InspectionPlot* Plot() const { return plot_; }
    // The recut step, once Plan Recut… has opened it.
    RecutWindow* Recut() const { return recut_.get(); }

public slots:
    void ChooseAndOpen();
    void ChooseAndExport();
    // Plan Recut…: the recut step of the die inspected, shown and raised.
    void PlanRecut();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The model's present state in the widgets.
    void Show();
    void ToleranceTyped();
    void OptionsChosen();
    QString ChooseFile(FileDialog dialog);

    // What the model asks of a toolkit: the messages; this window moves and prints nothing.
    void ShowMessage(std::string_view text) override;

    InspectionModel model_;
    InspectionPlot* plot_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* measured_ = nullptr;
    QLabel* notes_ = nullptr;
    QLineEdit* tolerance_ = nullptr;
    QComboBox* walls_ = nullptr;
    QCheckBox* fitAxis_ = nullptr;
    QLineEdit* layer_ = nullptr;
    QPushButton* planRecut_ = nullptr;
    DesignWindow& designed_;
    std::unique_ptr<RecutWindow> recut_;
    FileChooser chooser_;
};

} // namespace dieprofile

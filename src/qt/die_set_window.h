// The Die Set window: a pass schedule from rod to wire in which every die is the designed window's
// die with that pass's diameters. The inputs are typed on the left; the table of passes and the
// plot follow every keystroke. A double-click on a pass opens its die in the designed window; its
// context menu (or F2) gives the pass's die a profile of its own.
#pragma once

#include "app/die_set_model.h"
#include "app/export.h"
#include "dieset/die_set.h"
#include "output/set_file.h"
#include "qt/message_toolkit.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QTableView;

namespace dieprofile {

class DesignWindow;
class SetPlotWidget;
class SetTableModel;

class DieSetWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own beside the designed window, which owns it.
    explicit DieSetWindow(DesignWindow& designed);
    ~DieSetWindow() override;

    // The size it opens at where the desktop holds it, its frame not counted.
    static constexpr QSize kWantedSize{1280, 760};
    // Sizes and moves it beside the designed window's frame, on that window's screen.
    void PlaceBeside(const QWidget& designed);

    // Starts from the designed window's design: its unit, blank and profile, its incoming wire as
    // the start and its outlet as the finish.
    void StartFromDesignedWindow();
    // Shows the set's inputs in the fields and computes it; the set has no file.
    void ShowSet(const DieSetFile& set);
    // The inputs as typed.
    DieSetFile CurrentSet() const { return model_.Set(); }
    const DieSetModel& Model() const { return model_; }

    // Reads a set file and shows it; a file that is refused leaves the window as it was, with a
    // message naming the file and what is wrong. True when it was shown.
    bool OpenSetFile(const QString& path);
    // Writes the set file atomically; on failure a message says why and an old file is kept.
    bool SaveSetFile(const QString& path);
    // The table as CSV, the schedule and every die's sheet as PDF. Nothing on success; otherwise
    // the message, which is also shown.
    std::optional<QString> ExportCsv(const QString& path);
    std::optional<QString> ExportPdf(const QString& path);
    // Opens the pass's die (0-based row) in the designed window and calculates it.
    void OpenPassInDesignedWindow(int row);
    // Asks for the fields the pass's die (0-based row) has of its own, in place of the set's.
    void EditPassProfile(int row);
    // Asks for the set's own die: its blank and fields, as a pass's profile is asked for.
    void EditDieProfile();
    // The designed window's present design becomes the set's die.
    void TakeDieFromDesignedWindow();

    enum class FileDialog { Open, Save, ExportCsv, ExportPdf };
    // Asks where to read or write, starting in folder; empty when cancelled. The platform's
    // dialogs (which ask before replacing a file) unless tests put one of their own.
    using FileChooser = std::function<QString(FileDialog dialog, const QString& folder)>;
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // Messages go to a box unless tests put a function that takes them.
    using MessageSink = std::function<void(const QString& text)>;
    void SetMessageSink(MessageSink sink) { messages_ = std::move(sink); }

    // For the tests and the benchmark.
    QLineEdit* Field(std::string_view key) const;
    QComboBox* ScheduleChoice() const { return schedule_; }
    QComboBox* RoundingChoice() const { return rounding_; }
    QComboBox* MaterialChoice() const { return material_; }
    QTableView* Table() const { return table_; }
    SetTableModel* TableModel() const { return tableModel_; }
    SetPlotWidget* Plot() const { return plot_; }
    QLabel* Refusal() const { return refusal_; }
    const std::optional<DieSetSchedule>& LastGood() const { return model_.LastGood(); }
    // The file last opened or saved; empty while the set has never been in a file.
    QString SetPath() const;

    // Asks Save / Discard / Cancel when the set has changed since it was started, opened or saved;
    // true when it may be left.
    bool MayLeaveSet();

public slots:
    void ChooseAndOpen();
    void ChooseAndSave();
    void ChooseAndExportCsv();
    void ChooseAndExportPdf();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The file's name only while the set holds its inputs.
    void ShowTitle();
    // Both exports on the one road, the PDF with the caution typed and the default paper.
    std::optional<QString> Export(const QString& path, DieSetExportFormat format);
    void BuildInputs(QWidget* box);
    void BuildCommands();
    void Recompute();
    void ScheduleChanged();
    void RoundingChanged();
    void MaterialChosen();
    void MaterialTyped();
    void ShowDie();
    void ShowResting(const std::vector<int>& passes);
    void RemoveRestingProfiles();
    // Shows the model's set in the fields, none of them typing into it.
    void FillFields();
    void Tell(const QString& text);
    QString ChooseFile(FileDialog dialog);
    QString PlatformDialog(FileDialog dialog, const QString& folder);
    QLineEdit* AddField(std::string_view key);

    DesignWindow& designed_;
    std::map<std::string, QLineEdit*, std::less<>> fields_;
    QComboBox* schedule_ = nullptr;
    QLabel* scheduleUnit_ = nullptr;
    QComboBox* rounding_ = nullptr;
    QLabel* roundingUnit_ = nullptr;
    QComboBox* material_ = nullptr;
    QLabel* die_ = nullptr;
    QLabel* refusal_ = nullptr;
    QLabel* resting_ = nullptr;
    QPushButton* removeResting_ = nullptr;
    QTableView* table_ = nullptr;
    SetTableModel* tableModel_ = nullptr;
    SetPlotWidget* plot_ = nullptr;
    // The model speaks to the user through the window's messages.
    class Messages : public MessageToolkit {
    public:
        explicit Messages(DieSetWindow& window) : window_(window) {}
        void ShowMessage(std::string_view text) override;
        std::string Last; // the last message given

    private:
        DieSetWindow& window_;
    };
    Messages toolkit_{*this};
    DieSetModel model_{toolkit_};
    FileChooser chooser_;
    MessageSink messages_;
    bool showing_ = false;
};

} // namespace dieprofile

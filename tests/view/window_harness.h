// What the window tests share: a started window, user input through the real widgets, an answerer
// for the message boxes, and helpers for looking at pixels and running the PDF tools.
#pragma once

#include "qt/main_window.h"
#include "support/dump_ignoring_focus.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

namespace dieprofile::test {

inline const QString kCaption = QStringLiteral("Varnholt  - Quillmark");

// A window after Start(), shown and active, so that focus and key events behave as on a desktop.
std::unique_ptr<MainWindow> StartWindow();

// Opens the blank list from the keyboard and picks the 1-based row in its popup.
void ChooseRow(MainWindow& window, int row);

// Clicks into the field, selects all and types the text, as a user replacing a value does.
void TypeInto(QLineEdit* field, const QString& text);
void TypeInto(MainWindow& window, int text1Index, const QString& text);

// The custom blank with a diamond 0.180 high and 0.180 across, then Calculate.
void CalculateDefaultProfile(MainWindow& window);

// A desktop's window manager gives the activation back to the window once a message box has gone;
// the offscreen platform has none, so the tests do it.
void ReactivateAfterMessage(MainWindow& window);

// Answers every modal message box that appears while it lives by clicking its OK button (Discard
// where it asks whether to save a changed design), and records what the box showed.
class MessageAnswerer : public QObject {
public:
    struct Box {
        QString Text;
        QString Title;
        bool Modal = false;
        bool OnlyOk = false;
        int Width = 0;
    };

    MessageAnswerer();
    const std::vector<Box>& Boxes() const { return boxes_; }
    QStringList Texts() const;

private:
    void AnswerOpenBox();

    QTimer timer_;
    std::vector<Box> boxes_;
};

inline bool Dark(QRgb pixel) {
    return qGray(pixel) < 128;
}

// Expects the banner's contact lines to keep their design captions, and their values to start in
// one column within a pixel.
void ExpectContactValuesInOneColumn(MainWindow& window);

// The width of the dark run on row y nearest to x, within three pixels; 0 when there is none.
int DarkRunNear(const QImage& image, int x, int y);

struct ToolRun {
    int ExitCode = -1;
    QString Output;
};

// The bytes of a file, none when it cannot be read.
QByteArray Bytes(const QString& path);

// Runs a command-line tool to completion and returns its exit code and standard output.
ToolRun RunTool(const QString& program, const QStringList& arguments);

} // namespace dieprofile::test

// The command line of dieprofile: no arguments starts the window as designed; a design file opens
// in it; --export writes a drawing without any window, or with --scale the profile-projector
// overlay at that magnification; --help and --version.
#pragma once

#include "inspection/recut.h"
#include "output/dxf_drawing.h"
#include "output/overlay_options.h"
#include "output/paper.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dieprofile {

struct CommandLine {
    enum class Action {
        ShowWindow, // the window, with Design opened in it when given
        Export,     // Output from Design, without a window
        Tell,       // Text on standard output (help, version), then exit 0
        Refuse,     // Text on standard error (a usage mistake), then exit 2
    };
    Action What = Action::ShowWindow;
    QString Design;
    QString Output;
    QString Text;
    std::optional<OverlayOptions> Overlay; // with --scale: the overlay instead of the sheet
    DxfExportOptions Dxf;                  // --dxf-profile, --dxf-axis
    std::optional<Paper> PaperAsked;       // --paper; none: the default
    // --inspect MEASURED: the report (Output) of the measured file against Design.
    QString Measured;
    QString Tolerance; // --tolerance with --inspect, as typed; empty: none
    QString Layer;     // --layer: a DXF's layer
    bool FitAxis = false;
    QString Deviations; // --deviations OUT.csv
    // --recut MEASURED: Output is the recut of Design's worn die; the sizes from --step, --sizes
    // or the passes of --sizes-from.
    QString RecutMeasured;
    RecutOptions Recut;
    QString RecutSet;
};

// Reads the arguments as QCoreApplication::arguments() gives them, the program first.
CommandLine ParseCommandLine(const QStringList& arguments);

// True when the raw arguments ask for a run that shows no window (help, version, export), so the
// caller can choose the offscreen platform before the application starts.
bool RunsWithoutWindow(int argc, const char* const* argv);

// A run without a window reports on standard error in its own words only: the platform's notes
// (such as a missing runtime folder) are dropped, errors still pass. Call before the application.
void SilenceToolkitChatter();

// True for a die set file (.dieset): it opens in the Die Set window and exports as CSV or PDF.
bool IsDieSetPath(const QString& path);

// Writes line.Output from line.Design without showing anything. 0 when written; otherwise one line
// on standard error, nothing written, and 1 (2 for a usage mistake: the output is the design
// itself, a tolerance band wider than the die).
int ExportWithoutWindow(const CommandLine& line);

// With --inspect: writes the report (and the deviations) of line.Measured against line.Design and
// prints the verdict's line. 0 when written and within the tolerance or none was given, 3 when
// written and outside it, 1 for a failure (nothing written), 2 for a usage mistake.
int InspectWithoutWindow(const CommandLine& line);

// With --recut: inspects the measured file against the design, plans the recut and writes it
// (.dieprofile, .csv or .pdf), telling its one line on standard output. Exit codes as an export.
int RecutWithoutWindow(const CommandLine& line);

} // namespace dieprofile

// The profile-projector overlay of the last Calculate: written to a PDF file (the command line),
// or printed after the scale dialog and the platform's print dialog (the context menu). The pages
// are laid out as paper and drawn by the page painter.
#pragma once

#include "app/export.h"
#include "app/form_model.h"
#include "output/overlay_options.h"
#include "output/paper.h"
#include "qt/scale_dialog.h"

#include <QString>
#include <optional>

class QWidget;

namespace dieprofile {

// Writes the overlay's PDF of the last Calculate on the paper to a file at path, as every export
// is written. Done (notes, when given, then tell the pages and any warning), or the message for
// the user, and nothing is written.
Expected<void, QString> WriteOverlayPdf(const Form1Model& model, const OverlayOptions& options,
                                        const QString& designName, const QString& path,
                                        Paper paper = Paper::A4, ExportNotes* notes = nullptr);

// What the scale dialog shows for some options: the chart of the last Calculate laid out on paper
// of this size, its pages and warning, or why it cannot be printed.
ChartPreview PreviewChart(const Form1Model& model, const OverlayOptions& options,
                          const QString& designName, PaperSize paper);

// Asks for the magnification, view, region, tolerance and mirroring, showing how many pages will
// print, then for a printer in the platform's print dialog, and prints. Nothing when it printed or
// the user cancelled; otherwise the message for the user (before the first Calculate there is
// nothing to print).
std::optional<QString> PrintAtScale(QWidget* parent, const Form1Model& model,
                                    const QString& designName);

} // namespace dieprofile

// The profile-projector overlay of the last Calculate: written to a PDF file (the command line),
// or printed after the scale dialog and the platform's print dialog (the context menu).
#pragma once

#include "app/form_model.h"
#include "output/overlay_options.h"

#include <QString>
#include <optional>

class QPagedPaintDevice;
class QWidget;

namespace dieprofile {

// Lays out the overlay for the device's printable area and paints it. Nothing on success;
// otherwise the message for the user. Nothing is painted when the overlay cannot be laid out.
std::optional<QString> PaintOverlay(QPagedPaintDevice& device, int resolution,
                                    const Form1Model& model, const OverlayOptions& options,
                                    const QString& designName);

// Writes the overlay's pages (A4, 10 mm margins) to a PDF file at path. Nothing on success;
// otherwise the message for the user, naming the file and what is wrong, and nothing is written.
std::optional<QString> WriteOverlayPdf(const Form1Model& model, const OverlayOptions& options,
                                       const QString& designName, const QString& path);

// Asks for the magnification, view and tolerance, then for a printer in the platform's print
// dialog, and prints. Nothing when it printed or the user cancelled; otherwise the message for the
// user (before the first Calculate there is nothing to print).
std::optional<QString> PrintAtScale(QWidget* parent, const Form1Model& model,
                                    const QString& designName);

} // namespace dieprofile

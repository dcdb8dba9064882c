// The profile-projector overlay of the last Calculate: written to a PDF file (the command line),
// or printed after the scale dialog and the platform's print dialog (the context menu).
#pragma once

#include "app/form_model.h"
#include "output/overlay_options.h"

#include <QString>
#include <optional>

class QIODevice;
class QPagedPaintDevice;
class QWidget;

namespace dieprofile {

// Lays out the overlay for the device's printable area and paints it. Nothing on success;
// otherwise the message for the user. Nothing is painted when the overlay cannot be laid out.
std::optional<QString> PaintOverlay(QPagedPaintDevice& device, int resolution,
                                    const CalculatedDrawing& drawn, const DrawingScene& scene,
                                    const OverlayOptions& options, const QString& designName);

// Writes the overlay's pages (A4, 10 mm margins) as a PDF to the device. Nothing on success;
// otherwise the message for the user.
std::optional<QString> WriteOverlayPdf(QIODevice& device, const CalculatedDrawing& drawn,
                                       const DrawingScene& scene, const OverlayOptions& options,
                                       const QString& designName);

// Writes the overlay's PDF of the last Calculate to a file at path, as every export is written.
// Nothing on success; otherwise the message for the user, and nothing is written.
std::optional<QString> WriteOverlayPdf(const Form1Model& model, const OverlayOptions& options,
                                       const QString& designName, const QString& path);

// Asks for the magnification, view and tolerance, then for a printer in the platform's print
// dialog, and prints. Nothing when it printed or the user cancelled; otherwise the message for the
// user (before the first Calculate there is nothing to print).
std::optional<QString> PrintAtScale(QWidget* parent, const Form1Model& model,
                                    const QString& designName);

} // namespace dieprofile

// Paints the overlay's pages on a paged device (a PDF writer or a printer) at true size: paper
// millimetres are mapped to device units through the device's own resolution, every line is a
// vector and every word is text.
#pragma once

#include "output/overlay_layout.h"

#include <QString>
#include <optional>

class QPagedPaintDevice;

namespace dieprofile {

// The printable area of the device's page in millimetres, measured as the painter will see it.
struct PrintableArea {
    double WidthMm = 0;
    double HeightMm = 0;
};
PrintableArea PrintableAreaOf(const QPagedPaintDevice& device, int resolution);

// Paints every page; resolution is the device's dots per inch. Nothing on success; otherwise why
// the pages could not be painted.
std::optional<QString> PaintOverlayPages(QPagedPaintDevice& device, int resolution,
                                         const OverlayPages& pages);

} // namespace dieprofile

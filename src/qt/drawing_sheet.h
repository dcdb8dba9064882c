// The drawing sheet: one landscape page with a border, the die drawing at a stated scale, and the
// title block in the lower right corner. One routine paints it on any device (PDF, SVG, printer).
#pragma once

#include "app/form_model.h"

#include <QDate>
#include <QPageSize>
#include <QPainter>
#include <QSizeF>
#include <QString>

namespace dieprofile {

// A4, or Letter where the default printer's default paper, or with no printer the locale's
// measurement system, says so.
QPageSize SheetPageSize();

// Paints the sheet of a Calculate on a page of paperMillimetres, landscape, with the painter's
// origin at the paper's top-left corner and its unit one device pixel.
void PaintDrawingSheet(QPainter& painter, QSizeF paperMillimetres, const CalculatedDrawing& drawn,
                       const DrawingScene& scene, const QString& designName, QDate date);

} // namespace dieprofile

// Paints the panel's frame lines and the die drawing with a QPainter in panel pixels. The screen
// and the printed page both come through here.
#pragma once

#include "profile/drawing_scene.h"

#include <QLineF>
#include <QPainter>
#include <optional>

namespace dieprofile {

void PaintDrawing(QPainter& painter, const DrawingScene& scene);

// The die drawing alone, without the panel's frame lines: what a drawing sheet shows.
void PaintDieDrawing(QPainter& painter, const DrawingScene& scene);

// A segment in twips as the pixel line handed to the toolkit: rounded to whole pixels and cut to
// a generous box around the panel, or nothing when no part of it can be drawn (non-finite ends,
// or wholly outside the box). The scene itself is never limited.
std::optional<QLineF> PixelLine(double x1, double y1, double x2, double y2);

} // namespace dieprofile

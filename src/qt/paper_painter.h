// The window drawn for paper. Widget styles paint with translucent fills and small images, which
// make a printer's filters turn the whole page into one bitmap; here every control is drawn as
// opaque vector shapes and text instead: the panel through the scene painter, labels as text,
// fields, the list, the buttons and the option buttons as rectangles, circles and text. Nothing
// shows which control has the focus.
#pragma once

class QPainter;
class QWidget;

namespace dieprofile {

// Paints the window's visible controls in its logical pixels, the painter's origin being the
// window's top left. Controls the window does not know are drawn only through their children.
void PaintWindowForPaper(QPainter& painter, const QWidget& window);

} // namespace dieprofile

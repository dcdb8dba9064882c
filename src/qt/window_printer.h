// Puts a window on the default printer as vectors: its widget tree is recorded into a picture and
// played back at the printer's resolution, so lines stay sharp and text stays text.
#pragma once

#include "app/toolkit.h"

class QWidget;

namespace dieprofile {

// orientation: 1 portrait, 2 landscape.
PrintOutcome PrintWidget(QWidget& window, int orientation);

} // namespace dieprofile

// The die set on paper: the schedule first (its inputs and plot, then the table of passes), then
// the drawing sheet of every die, the same sheet as Export Drawing gives for that die.
#pragma once

#include "app/export.h"

namespace dieprofile {

// The set's PDF painted from its layout: the schedule's pages in the view's fonts, then every die's
// sheet as the drawing's PDF paints it; or why the document could not be made.
Rendering DieSetPdfOf(const DieSetDocument& document);

} // namespace dieprofile

// The design's typefaces on this system. "MS Sans Serif" and "Courier" are Windows faces; the
// closest installed faces of the same metrics stand in for them.
#pragma once

#include "profile/form_design.h"

#include <QFont>

namespace dieprofile {

// Registers the stand-ins for the design's face names. Call once, after the application exists.
void InstallFontSubstitutes();

// The font a control is designed with, sized in pixels at 96 dots per inch so that the fixed
// layout holds whatever the screen's logical resolution.
QFont DesignFont(const FontDesign& design);

} // namespace dieprofile

// What every process that shows the window sets up first: names, icon, style and fonts.
#pragma once

namespace dieprofile {

// Call once, after the QApplication exists.
void ConfigureApplication();

} // namespace dieprofile

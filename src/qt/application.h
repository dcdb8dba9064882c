// What every process that shows the window sets up first: names, style and fonts, and the icon
// once the first window exists.
#pragma once

namespace dieprofile {

// Call once, after the QApplication exists.
void ConfigureApplication();

// Gives the program's icon to its windows. Call once the main window has been shown: the X11
// window system converts the icon for a window twice when the window is made with it, and once
// when it is set on a window that exists.
void ShowApplicationIcon();

} // namespace dieprofile

// The program's icon: a die blank in section with its bore, drawn rather than shipped so that
// every size is sharp.
#pragma once

#include <QIcon>
#include <QImage>
#include <array>

namespace dieprofile {

// The sizes the icon theme is given, in pixels; the window's icon is drawn at whatever size the
// desktop asks for.
inline constexpr std::array<int, 6> kAppIconSizes{16, 32, 48, 64, 128, 256};

QImage AppIconImage(int size);
// The icon drawn on demand, at the size shown.
QIcon AppIcon();

} // namespace dieprofile

// The program's icon: a die blank in section with its bore, drawn rather than shipped so that
// every size is sharp.
#pragma once

#include <QIcon>
#include <QImage>

namespace dieprofile {

QImage AppIconImage(int size);
QIcon AppIcon();

} // namespace dieprofile

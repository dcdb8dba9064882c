// What a user chose is kept between runs in one place for every window and the command line: the
// last folders, the sheet's details, the DXF's options and the die set's caution level.
#pragma once

#include <QSettings>

namespace dieprofile {

inline QSettings UserSettings() {
    return QSettings(QStringLiteral("dieprofile"), QStringLiteral("dieprofile"));
}

} // namespace dieprofile

#include "qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <cmath>

namespace dieprofile {

namespace {

// Liberation Sans has Arial's metrics, as near as a free face comes to the old sans-serif
// dialogue face; Liberation Mono has Courier New's, the same pitch as Courier.
const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QString kCourier = QStringLiteral("Courier");

QStringList StandIns(const QString& face) {
    return face == kCourier
               ? QStringList{QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                             QStringLiteral("DejaVu Sans Mono")}
               : QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                             QStringLiteral("DejaVu Sans")};
}

// The installed face that stands in for a design face. Asking for the design's name, which Linux
// systems seldom have, makes the toolkit search fontconfig's whole list for every font made before
// it tries the stand-ins; naming the stand-in at once skips that search. A system that has the
// design's face itself keeps it, as before.
QString InstalledFace(const QString& face) {
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(face, Qt::CaseInsensitive)) {
        return face;
    }
    for (const QString& standIn : StandIns(face)) {
        if (installed.contains(standIn, Qt::CaseInsensitive)) {
            return standIn;
        }
    }
    return face;
}

QString FamilyOf(Typeface face) {
    static const QString sansSerif = InstalledFace(kSansSerif);
    static const QString courier = InstalledFace(kCourier);
    switch (face) {
    case Typeface::Courier:
        return courier;
    case Typeface::SansSerif:
    case Typeface::Default:
        return sansSerif;
    }
    return sansSerif;
}

} // namespace

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(kSansSerif, StandIns(kSansSerif));
    QFont::insertSubstitutions(kCourier, StandIns(kCourier));
}

QFont DesignFont(const FontDesign& design) {
    QFont font(FamilyOf(design.Face));
    font.setStyleHint(design.Face == Typeface::Courier ? QFont::TypeWriter : QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(design.Points * 96.0 / 72.0)));
    font.setBold(design.Bold);
    return font;
}

} // namespace dieprofile

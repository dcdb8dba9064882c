#include "qt/fonts.h"

#include <QStringList>
#include <cmath>

namespace dieprofile {

namespace {

// Liberation Sans has Arial's metrics, as near as a free face comes to the old sans-serif
// dialogue face; Liberation Mono has Courier New's, the same pitch as Courier.
const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QString kCourier = QStringLiteral("Courier");

QString FamilyOf(Typeface face) {
    switch (face) {
    case Typeface::Courier:
        return kCourier;
    case Typeface::SansSerif:
    case Typeface::Default:
        return kSansSerif;
    }
    return kSansSerif;
}

} // namespace

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(kSansSerif,
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(kCourier,
                               {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                                QStringLiteral("DejaVu Sans Mono")});
}

QFont DesignFont(const FontDesign& design) {
    QFont font(FamilyOf(design.Face));
    font.setStyleHint(design.Face == Typeface::Courier ? QFont::TypeWriter : QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(design.Points * 96.0 / 72.0)));
    font.setBold(design.Bold);
    return font;
}

} // namespace dieprofile

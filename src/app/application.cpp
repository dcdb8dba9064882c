#include "app/application.h"

#include "app/app_icon.h"
#include "app/fonts.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace dieprofile {

void ConfigureApplication() {
    QApplication::setApplicationName(QStringLiteral("dieprofile"));
    QApplication::setDesktopFileName(QStringLiteral("dieprofile"));
    QApplication::setWindowIcon(AppIcon());
    // One style on every desktop, so the fixed layout looks as designed everywhere.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
        QApplication::setPalette(fusion->standardPalette());
    }
    InstallFontSubstitutes();
}

} // namespace dieprofile

#include "qt/application.h"

#include "profile/form_design.h"
#include "qt/app_icon.h"
#include "qt/fonts.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace dieprofile {

void ConfigureApplication() {
    QApplication::setApplicationName(QStringLiteral("dieprofile"));
    // Desktop shells match the window to its menu entry by this id.
    QApplication::setDesktopFileName(QStringLiteral("io.github.dieprofile.DieProfile"));
    // One style on every desktop, so the fixed layout looks as designed everywhere.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
        QApplication::setPalette(fusion->standardPalette());
    }
    InstallFontSubstitutes();
    // The design's default face from the start, so no widget lays its text out in another face
    // first (which would load a font for nothing).
    QApplication::setFont(DesignFont(FontDesign{}));
}

void ShowApplicationIcon() {
    QApplication::setWindowIcon(AppIcon());
}

} // namespace dieprofile

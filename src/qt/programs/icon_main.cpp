// dieprofile-icons: writes the program's icon as the PNGs of the freedesktop icon theme, from the
// same drawing code the window uses, so the installed icons and the window's icon never differ.
//   dieprofile-icons OUTDIR [NAME]      writes OUTDIR/<size>x<size>/apps/NAME.png
//   dieprofile-icons --compare IMAGE    tells how far IMAGE (say, the hand-drawn SVG rendered to
//                                       PNG) is from the icon drawn at its size; exits 1 when the
//                                       two are not the same picture
#include "qt/app_icon.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

// Antialiasing differs between renderers, so edges differ a little; a moved or missing shape
// shows as pixels far off, a changed colour as a raised mean.
int Compare(const QString& file) {
    const QImage given = QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (given.isNull() || given.width() != given.height()) {
        std::fprintf(stderr, "dieprofile-icons: %s is not a square image\n", qPrintable(file));
        return 2;
    }
    const QImage drawn = dieprofile::AppIconImage(given.width());
    long long total = 0;
    int farOff = 0;
    for (int y = 0; y < given.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(given.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        for (int x = 0; x < given.width(); ++x) {
            const int d[] = {
                std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                std::abs(qBlue(a[x]) - qBlue(b[x])), std::abs(qAlpha(a[x]) - qAlpha(b[x]))};
            total += d[0] + d[1] + d[2] + d[3];
            if (*std::max_element(std::begin(d), std::end(d)) > 96) {
                ++farOff;
            }
        }
    }
    const double pixels = double(given.width()) * given.height();
    const double mean = double(total) / (4 * pixels);
    const double farShare = 100.0 * farOff / pixels;
    std::printf("%dx%d: mean difference %.2f of 255, %.2f%% of pixels far off\n", given.width(),
                given.height(), mean, farShare);
    return mean <= 1.0 && farShare <= 0.5 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--compare") == 0) {
        return Compare(QString::fromLocal8Bit(argv[2]));
    }
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: dieprofile-icons OUTDIR [NAME]\n"
                             "       dieprofile-icons --compare IMAGE\n");
        return 2;
    }
    // Painting paths into a QImage needs no application object and no display, so this runs on
    // a build machine without either.
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const QString name = argc == 3 ? QString::fromLocal8Bit(argv[2])
                                   : QStringLiteral("io.github.dieprofile.DieProfile");
    for (int size : dieprofile::kAppIconSizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "dieprofile-icons: cannot create %s\n", qPrintable(dir));
            return 1;
        }
        const QString file = QStringLiteral("%1/%2.png").arg(dir, name);
        if (!dieprofile::AppIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "dieprofile-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

#include "qt/widget_design.h"

#include <cmath>

namespace dieprofile {

int Px(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

QRect PxRect(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

Qt::Alignment HorizontalAlignment(LabelAlignment alignment) {
    switch (alignment) {
    case LabelAlignment::Left:
        return Qt::AlignLeft;
    case LabelAlignment::Centre:
        return Qt::AlignHCenter;
    case LabelAlignment::Right:
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPalette DesignPalette(const QPalette& base) {
    QPalette palette = base;
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    return palette;
}

} // namespace dieprofile

#include "qt/app_icon.h"

#include <QCoreApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTimer>
#include <QTransform>
#include <algorithm>

namespace dieprofile {

QImage AppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    // The blank's two halves either side of the bore: bell, cone, bearing and back relief.
    const QColor diamond(0x5b, 0x7f, 0xa6);
    const QColor outline(0x1d, 0x2b, 0x3a);
    QPainterPath left;
    left.moveTo(2, 6);
    left.lineTo(11, 6);
    left.lineTo(14, 13);
    left.lineTo(15, 20);
    left.lineTo(15, 23);
    left.lineTo(13, 27);
    left.lineTo(2, 27);
    left.closeSubpath();
    // The bore is symmetric about the die's axis at x 16.
    const QPainterPath right = QTransform(-1, 0, 0, 1, 32, 0).map(left);
    painter.setPen(QPen(outline, 1.5));
    painter.setBrush(diamond);
    painter.drawPath(left);
    painter.drawPath(right);

    // The wire drawn through it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd9, 0x8c, 0x1f));
    painter.drawRect(QRectF(13.5, 0, 5, 8));
    painter.drawRect(QRectF(15, 20, 2, 12));
    return image;
}

namespace {

// The X11 window system asks for every size of the icon twice while the window is being made. The
// sizes drawn are kept until the event loop runs again, so each is drawn once, and then let go,
// so the largest sizes do not stay in memory for the rest of the session.
QImage DrawnOnce(int size) {
    static QHash<int, QImage> drawn;
    if (drawn.isEmpty()) {
        QTimer::singleShot(0, qApp, [] { drawn.clear(); });
    }
    auto found = drawn.find(size);
    if (found == drawn.end()) {
        found = drawn.insert(size, AppIconImage(size));
    }
    return *found;
}

// Draws the icon at the size asked for, when it is asked for: nothing is drawn at start-up, and
// every size is sharp.
class DrawnIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/,
               QIcon::State /*state*/) override {
        painter->drawImage(rect, DrawnOnce(std::min(rect.width(), rect.height())));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return QPixmap::fromImage(DrawnOnce(std::min(size.width(), size.height())));
    }
    QIconEngine* clone() const override { return new DrawnIconEngine; }
    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        QList<QSize> sizes;
        for (int size : kAppIconSizes) {
            sizes.append(QSize(size, size));
        }
        return sizes;
    }
};

} // namespace

QIcon AppIcon() {
    return QIcon(new DrawnIconEngine);
}

} // namespace dieprofile

#include "qt/contact_label.h"

#include <QPainter>
#include <cmath>

namespace dieprofile {

namespace {

// The tag ends at the first blank; the value starts after the run of blanks that follows.
qsizetype TagEnd(const QString& caption) {
    const qsizetype blank = caption.indexOf(QLatin1Char(' '));
    return blank < 0 ? caption.size() : blank;
}

qsizetype ValueStart(const QString& caption) {
    qsizetype at = TagEnd(caption);
    while (at < caption.size() && caption.at(at) == QLatin1Char(' ')) {
        ++at;
    }
    return at;
}

} // namespace

ContactLabel::ContactLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    valueColumn_ = TagRoom();
}

QString ContactLabel::Tag() const {
    return text().left(TagEnd(text()));
}

QString ContactLabel::Value() const {
    return text().mid(ValueStart(text()));
}

int ContactLabel::TagRoom() const {
    const QFontMetricsF metrics(font());
    return static_cast<int>(std::ceil(metrics.horizontalAdvance(Tag() + QLatin1Char(' '))));
}

void ContactLabel::SetValueColumn(int x) {
    valueColumn_ = x;
    update();
}

int ContactLabel::PaintedWidth() const {
    const QFontMetricsF metrics(font());
    if (Value().isEmpty()) {
        return static_cast<int>(std::ceil(metrics.horizontalAdvance(Tag())));
    }
    return valueColumn_ + static_cast<int>(std::ceil(metrics.horizontalAdvance(Value())));
}

void ContactLabel::PaintCaption(QPainter& painter) const {
    painter.save();
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QRect room = contentsRect();
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    painter.drawText(room, flags, Tag());
    painter.drawText(room.adjusted(valueColumn_, 0, 0, 0), flags, Value());
    painter.restore();
}

void ContactLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintCaption(painter);
}

} // namespace dieprofile

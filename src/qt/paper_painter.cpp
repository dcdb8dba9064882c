#include "qt/paper_painter.h"

#include "qt/contact_label.h"
#include "qt/drawing_panel.h"
#include "qt/scene_painter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace dieprofile {

namespace {

QColor Opaque(QColor colour) {
    colour.setAlpha(255);
    return colour;
}

QColor Role(const QWidget& widget, QPalette::ColorRole role) {
    return Opaque(widget.palette().color(QPalette::Active, role));
}

// A widget's font with its size in pixels: on a printer a size in points would be taken at the
// printer's resolution, not the window's.
QFont PixelFont(const QWidget& widget) {
    QFont font = widget.font();
    if (font.pixelSize() <= 0) {
        font.setPixelSize(qRound(font.pointSizeF() * widget.logicalDpiY() / 72.0));
    }
    return font;
}

// A thin outline just inside the rectangle.
void Box(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& line) {
    painter.setPen(QPen(line, 1));
    painter.setBrush(fill);
    painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
}

void Text(QPainter& painter, const QWidget& widget, const QRectF& rect, int flags,
          const QString& text, const QColor& colour) {
    painter.setFont(PixelFont(widget));
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
}

void PaintPanel(QPainter& painter, const DrawingPanel& panel) {
    PaintDrawing(painter, panel.Scene());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Role(panel, QPalette::Dark), 1));
    painter.drawRect(QRectF(panel.rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void PaintLabel(QPainter& painter, const QLabel& label) {
    if (const auto* contact = qobject_cast<const ContactLabel*>(&label)) {
        contact->PaintCaption(painter);
        return;
    }
    const int wrap = label.wordWrap() ? Qt::TextWordWrap : 0;
    Text(painter, label, label.contentsRect(), static_cast<int>(label.alignment()) | wrap,
         label.text(), Role(label, label.foregroundRole()));
}

void PaintField(QPainter& painter, const QLineEdit& field) {
    const QRectF rect = field.rect();
    Box(painter, rect, Role(field, QPalette::Base), Role(field, QPalette::Dark));
    const int horizontal = static_cast<int>(field.alignment() & Qt::AlignHorizontal_Mask);
    Text(painter, field, rect.adjusted(4, 0, -4, 0), horizontal | Qt::AlignVCenter, field.text(),
         Role(field, QPalette::Text));
}

void PaintList(QPainter& painter, const QComboBox& list) {
    const QRectF rect = list.rect();
    Box(painter, rect, Role(list, QPalette::Button), Role(list, QPalette::Dark));
    // The drop-down arrow, a filled triangle at the right end.
    const double arrowRoom = rect.height();
    const QPointF centre(rect.right() - arrowRoom / 2, rect.center().y());
    const double half = rect.height() / 5;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Role(list, QPalette::ButtonText));
    painter.drawPolygon(QPolygonF{{centre.x() - half, centre.y() - half / 2},
                                  {centre.x() + half, centre.y() - half / 2},
                                  {centre.x(), centre.y() + half / 2}});
    Text(painter, list, rect.adjusted(4, 0, -arrowRoom, 0), Qt::AlignLeft | Qt::AlignVCenter,
         list.currentText(), Role(list, QPalette::ButtonText));
}

void PaintOption(QPainter& painter, const QRadioButton& option) {
    const QRectF rect = option.rect();
    const double size = option.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
    const QRectF circle(0.5, (rect.height() - size) / 2 + 0.5, size - 1, size - 1);
    painter.setPen(QPen(Role(option, QPalette::Dark), 1));
    painter.setBrush(Role(option, QPalette::Base));
    painter.drawEllipse(circle);
    if (option.isChecked()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Role(option, QPalette::Text));
        painter.drawEllipse(circle.center(), size / 5, size / 5);
    }
    const double gap = option.style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    Text(painter, option, rect.adjusted(size + gap, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
         option.text(), Role(option, QPalette::WindowText));
}

void PaintButton(QPainter& painter, const QPushButton& button) {
    const QRectF rect = button.rect();
    Box(painter, rect, Role(button, QPalette::Button), Role(button, QPalette::Shadow));
    Text(painter, button, rect, Qt::AlignCenter, button.text(), Role(button, QPalette::ButtonText));
}

// Draws one widget and, for containers, its children above it, in their stacking order.
void PaintWidget(QPainter& painter, const QWidget& widget, const QWidget& window) {
    if (!widget.isVisibleTo(&window)) {
        return;
    }
    painter.save();
    painter.translate(widget.mapTo(&window, QPoint(0, 0)));
    bool container = false;
    if (const auto* panel = qobject_cast<const DrawingPanel*>(&widget)) {
        PaintPanel(painter, *panel);
        container = true;
    } else if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        PaintLabel(painter, *label);
    } else if (const auto* field = qobject_cast<const QLineEdit*>(&widget)) {
        PaintField(painter, *field);
    } else if (const auto* list = qobject_cast<const QComboBox*>(&widget)) {
        PaintList(painter, *list);
    } else if (const auto* option = qobject_cast<const QRadioButton*>(&widget)) {
        PaintOption(painter, *option);
    } else if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        PaintButton(painter, *button);
    } else {
        container = true;
    }
    painter.restore();
    if (container) {
        for (const QObject* child : widget.children()) {
            if (const auto* inner = qobject_cast<const QWidget*>(child);
                inner != nullptr && !inner->isWindow()) {
                PaintWidget(painter, *inner, window);
            }
        }
    }
}

} // namespace

void PaintWindowForPaper(QPainter& painter, const QWidget& window) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const QObject* child : window.children()) {
        if (const auto* widget = qobject_cast<const QWidget*>(child);
            widget != nullptr && !widget->isWindow()) {
            PaintWidget(painter, *widget, window);
        }
    }
    painter.restore();
}

} // namespace dieprofile

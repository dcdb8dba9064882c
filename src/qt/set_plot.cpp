#include "qt/set_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace dieprofile {

namespace {

const QColor kReductionColour(0x2b, 0x6c, 0xb0);
const QColor kRatioColour(0x20, 0x20, 0x20);
const QColor kCautionColour(0xd0, 0x80, 0x00);
const QColor kBreakColour(0xc0, 0x10, 0x10);
const QColor kHeatColour(0x8a, 0x3f, 0xa8);
const QColor kGridColour(0xdd, 0xdd, 0xdd);

double LargestFinite(const std::vector<double>& values) {
    double largest = 0;
    for (double value : values) {
        if (std::isfinite(value)) {
            largest = std::max(largest, value);
        }
    }
    return largest;
}

QString TickText(double value, double step) {
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    return QString::number(value, 'f', decimals);
}

// One chart: its frame, title, y axis with ticks and grid, and the pass axis below it.
struct Chart {
    QRectF Frame; // the plotting area, inside the axes
    double Top = 1;
    int Passes = 0;

    double X(int pass) const { // pass counts from 1; bars stand on whole passes
        return Frame.left() + Frame.width() * (pass - 0.5) / std::max(Passes, 1);
    }
    double Y(double value) const { return Frame.bottom() - Frame.height() * value / Top; }
    double Slot() const { return Frame.width() / std::max(Passes, 1); }
};

Chart DrawChart(QPainter& painter, const QRectF& box, const QString& title, double top, int passes,
                double text, bool passLabel) {
    const QFontMetricsF metrics(painter.font());
    const double axisRoom = metrics.horizontalAdvance(QStringLiteral("0000.0")) + text * 0.6;
    const double titleRoom = metrics.height() * 1.3;
    const double bottomRoom = metrics.height() * (passLabel ? 2.4 : 1.4);
    Chart chart;
    chart.Passes = passes;
    const std::vector<double> ticks = AxisTicks(top);
    chart.Top = ticks.back();
    chart.Frame =
        QRectF(box.left() + axisRoom, box.top() + titleRoom, box.width() - axisRoom - text * 0.8,
               box.height() - titleRoom - bottomRoom);

    painter.setPen(Qt::black);
    painter.drawText(QPointF(chart.Frame.left(), box.top() + metrics.ascent()), title);

    const double tickLength = text * 0.35;
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1;
    for (double tick : ticks) {
        const double y = chart.Y(tick);
        painter.setPen(QPen(kGridColour, text / 14));
        painter.drawLine(QPointF(chart.Frame.left(), y), QPointF(chart.Frame.right(), y));
        painter.setPen(QPen(Qt::black, text / 14));
        painter.drawLine(QPointF(chart.Frame.left() - tickLength, y),
                         QPointF(chart.Frame.left(), y));
        const QString label = TickText(tick, step);
        painter.drawText(
            QPointF(chart.Frame.left() - tickLength * 1.5 - metrics.horizontalAdvance(label),
                    y + metrics.ascent() / 2 - metrics.descent() / 2),
            label);
    }

    // Pass numbers: every pass while they fit, else every 2nd, 5th, 10th... pass.
    const double labelWidth = metrics.horizontalAdvance(QStringLiteral("000")) * 1.4;
    int every = 1;
    for (int factor : {1, 2, 5, 10, 20, 50, 100}) {
        every = factor;
        if (chart.Slot() * factor >= labelWidth) {
            break;
        }
    }
    for (int pass = 1; pass <= passes; ++pass) {
        const double x = chart.X(pass);
        const bool labelled = pass == 1 || pass % every == 0;
        painter.drawLine(
            QPointF(x, chart.Frame.bottom()),
            QPointF(x, chart.Frame.bottom() + (labelled ? tickLength : tickLength / 2)));
        if (labelled) {
            const QString label = QString::number(pass);
            painter.drawText(QPointF(x - metrics.horizontalAdvance(label) / 2,
                                     chart.Frame.bottom() + tickLength + metrics.ascent()),
                             label);
        }
    }
    if (passLabel) {
        const QString label = QStringLiteral("pass");
        painter.drawText(
            QPointF(chart.Frame.center().x() - metrics.horizontalAdvance(label) / 2,
                    chart.Frame.bottom() + tickLength + metrics.height() + metrics.ascent()),
            label);
    }
    painter.setPen(QPen(Qt::black, text / 14));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(chart.Frame.bottomLeft(), chart.Frame.bottomRight());
    painter.drawLine(chart.Frame.bottomLeft(), chart.Frame.topLeft());
    return chart;
}

void DrawBars(QPainter& painter, const Chart& chart, const std::vector<double>& values,
              const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const double width = chart.Slot() * 0.6;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i])) {
            continue;
        }
        const double x = chart.X(static_cast<int>(i) + 1);
        const double y = chart.Y(std::clamp(values[i], 0.0, chart.Top));
        painter.drawRect(QRectF(x - width / 2, y, width, chart.Frame.bottom() - y));
    }
    painter.setBrush(Qt::NoBrush);
}

void DrawLevel(QPainter& painter, const Chart& chart, double level, const QColor& colour,
               Qt::PenStyle style, double width) {
    QPen pen(colour, width);
    pen.setStyle(style);
    painter.setPen(pen);
    const double y = chart.Y(level);
    painter.drawLine(QPointF(chart.Frame.left(), y), QPointF(chart.Frame.right(), y));
}

// A legend entry: a short stroke in the pen, then the words.
double DrawLegendEntry(QPainter& painter, QPointF at, const QPen& pen, const QString& words,
                       double text) {
    const QFontMetricsF metrics(painter.font());
    painter.setPen(pen);
    painter.drawLine(QPointF(at.x(), at.y() - metrics.ascent() / 3),
                     QPointF(at.x() + text * 1.6, at.y() - metrics.ascent() / 3));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(at.x() + text * 2, at.y()), words);
    return at.x() + text * 2 + metrics.horizontalAdvance(words) + text;
}

} // namespace

std::vector<double> AxisTicks(double top) {
    if (!std::isfinite(top) || top <= 0) {
        top = 1;
    }
    const double rough = top / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    std::vector<double> ticks;
    for (int i = 0;; ++i) {
        ticks.push_back(i * step);
        if (i * step >= top * (1 - 1e-12)) {
            break;
        }
    }
    return ticks;
}

void PaintSetPlot(QPainter& painter, const QRectF& area, const SetPlotData& data, double text) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(text)));
    painter.setFont(font);
    const int passes = static_cast<int>(std::max(
        {data.ReductionPercent.size(), data.StressRatio.size(), data.TemperatureRiseK.size()}));

    const double height = area.height() / 3;
    auto box = [&](int index) {
        return QRectF(area.left(), area.top() + height * index, area.width(), height);
    };

    const Chart reduction =
        DrawChart(painter, box(0), QStringLiteral("Area reduction, %"),
                  std::max(LargestFinite(data.ReductionPercent) * 1.1, 1.0), passes, text, false);
    DrawBars(painter, reduction, data.ReductionPercent, kReductionColour);

    const double ratioTop =
        std::max({LargestFinite(data.StressRatio) * 1.1, data.Caution * 1.1, 1.1});
    const Chart ratio =
        DrawChart(painter, box(1), QStringLiteral("Stress ratio (drawing stress / flow stress)"),
                  ratioTop, passes, text, false);
    DrawLevel(painter, ratio, 1.0, kBreakColour, Qt::SolidLine, text / 8);
    if (data.Caution > 0 && std::isfinite(data.Caution)) {
        DrawLevel(painter, ratio, data.Caution, kCautionColour, Qt::DashLine, text / 8);
    }
    QPainterPath line;
    bool drawing = false;
    for (std::size_t i = 0; i < data.StressRatio.size(); ++i) {
        const double value = data.StressRatio[i];
        if (!std::isfinite(value)) {
            drawing = false;
            continue;
        }
        const QPointF point(ratio.X(static_cast<int>(i) + 1),
                            ratio.Y(std::clamp(value, 0.0, ratio.Top)));
        drawing ? line.lineTo(point) : line.moveTo(point);
        drawing = true;
    }
    painter.setPen(QPen(kRatioColour, text / 8));
    painter.drawPath(line);
    const double dot = std::min(text / 3, ratio.Slot() / 3);
    for (std::size_t i = 0; i < data.StressRatio.size(); ++i) {
        const double value = data.StressRatio[i];
        if (!std::isfinite(value)) {
            continue;
        }
        const QColor colour = value >= 1                                 ? kBreakColour
                              : data.Caution > 0 && value > data.Caution ? kCautionColour
                                                                         : kRatioColour;
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(
            QPointF(ratio.X(static_cast<int>(i) + 1), ratio.Y(std::clamp(value, 0.0, ratio.Top))),
            dot, dot);
    }
    painter.setBrush(Qt::NoBrush);
    // The legend stands in the chart's top right corner, on white so that it reads over the grid.
    {
        const QFontMetricsF metrics(painter.font());
        const QString breaks = QStringLiteral("breaks (1.0)");
        const QString caution = QStringLiteral("caution (%1)").arg(data.Caution, 0, 'g', 3);
        const double width = 2 * (text * 3) + metrics.horizontalAdvance(breaks) +
                             metrics.horizontalAdvance(caution) + text;
        const QRectF legend(ratio.Frame.right() - width - text * 0.3,
                            ratio.Frame.top() + text * 0.3, width, metrics.height() * 1.3);
        painter.fillRect(legend, QColor(255, 255, 255, 230));
        const double y =
            legend.top() + (legend.height() + metrics.ascent()) / 2 - metrics.descent();
        double x = DrawLegendEntry(painter, {legend.left() + text * 0.5, y},
                                   QPen(kBreakColour, text / 8), breaks, text);
        QPen dashed(kCautionColour, text / 8);
        dashed.setStyle(Qt::DashLine);
        DrawLegendEntry(painter, {x, y}, dashed, caution, text);
    }

    const Chart heat =
        DrawChart(painter, box(2), QStringLiteral("Temperature rise, K"),
                  std::max(LargestFinite(data.TemperatureRiseK) * 1.1, 1.0), passes, text, true);
    DrawBars(painter, heat, data.TemperatureRiseK, kHeatColour);
    painter.restore();
}

SetPlotWidget::SetPlotWidget(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMinimumSize(300, 360);
}

void SetPlotWidget::SetData(SetPlotData data) {
    data_ = std::move(data);
    update();
}

void SetPlotWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintSetPlot(painter, QRectF(rect()).adjusted(8, 8, -8, -8), data_,
                 font().pixelSize() > 0 ? font().pixelSize() : 11);
}

} // namespace dieprofile

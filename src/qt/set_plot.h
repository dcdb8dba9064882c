// The die set's plot: per pass the area reduction, the stress ratio against the caution level and
// the breaking line, and the temperature rise, as three charts over one pass axis. One routine
// paints it on the window and on the schedule's PDF page.
#pragma once

#include <QRectF>
#include <QWidget>
#include <vector>

class QPainter;

namespace dieprofile {

// What the plot shows; a figure that is not finite (a pass that could not be computed) is left out.
struct SetPlotData {
    std::vector<double> ReductionPercent;
    std::vector<double> StressRatio;
    std::vector<double> TemperatureRiseK;
    double Caution = 0;
};

// Tick values for an axis from 0 to at least top: a step of 1, 2 or 5 times a power of ten, about
// five ticks; the last tick is the axis's end.
std::vector<double> AxisTicks(double top);

// Paints the three charts into area, in the painter's units (pixels on screen, tenths of a
// millimetre on paper), with text of the given height in those units.
void PaintSetPlot(QPainter& painter, const QRectF& area, const SetPlotData& data, double text);

class SetPlotWidget : public QWidget {
    Q_OBJECT
public:
    explicit SetPlotWidget(QWidget* parent = nullptr);
    void SetData(SetPlotData data);
    const SetPlotData& Data() const { return data_; }
    QSize sizeHint() const override { return {420, 520}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SetPlotData data_;
};

} // namespace dieprofile

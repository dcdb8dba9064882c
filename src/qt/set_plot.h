// The die set's plot on the window: the charts the schedule's page shows (dieset/schedule_pages.h),
// laid out in the widget's pixels and painted by the one page painter.
#pragma once

#include "dieset/schedule_pages.h"

#include <QWidget>

namespace dieprofile {

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

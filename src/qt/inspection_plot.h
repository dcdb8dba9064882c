// The inspection's plot on the screen: the report's own layout of the plot (the design's bore,
// the points exaggerated, the band and the marks) for the widget's size, painted by the page
// painter, so that the screen shows what the paper will.
#pragma once

#include "inspection/inspection.h"

#include <QWidget>
#include <optional>

namespace dieprofile {

class InspectionPlot : public QWidget {
    Q_OBJECT
public:
    explicit InspectionPlot(QWidget* parent = nullptr);
    // What to draw; nothing clears the plot.
    void Show(const std::optional<InspectionDesign>& design,
              const std::optional<Inspection>& inspection,
              const std::optional<BoreWall>& recut = std::nullopt);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<InspectionDesign> design_;
    std::optional<Inspection> inspection_;
    std::optional<BoreWall> recut_; // a recut's wall over them
};

} // namespace dieprofile

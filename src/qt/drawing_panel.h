// The caption-less panel z: white, framed, with the frame lines and the die drawing on it.
#pragma once

#include "profile/drawing_scene.h"

#include <QFrame>

namespace dieprofile {

class DrawingPanel : public QFrame {
    Q_OBJECT
public:
    DrawingPanel(const DrawingScene& scene, QWidget* parent);

    const DrawingScene& Scene() const { return scene_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const DrawingScene& scene_;
};

} // namespace dieprofile

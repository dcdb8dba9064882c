// The window's drop-down list of die blanks.
#pragma once

#include <QComboBox>

namespace dieprofile {

// A drop-down list whose open list is wide enough to show its longest row whole. The open list is
// made, and its rows measured, when the list first drops down, not when the window is built:
// both lay out text the first picture of the window never shows.
class CatalogueList : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void WidenPopupForLongestRow();

    bool widened_ = false;
};

} // namespace dieprofile

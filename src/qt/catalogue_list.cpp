#include "qt/catalogue_list.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QScrollBar>
#include <algorithm>

namespace dieprofile {

void CatalogueList::showPopup() {
    if (!widened_) {
        widened_ = true;
        WidenPopupForLongestRow();
    }
    QComboBox::showPopup();
}

void CatalogueList::changeEvent(QEvent* event) {
    // The toolkit makes the open list to hand it a new font; until the list first drops down
    // there is none to hand it to, and the one made then takes this font from its parent. The
    // window's lists keep the size they are given, so no size hint goes stale meanwhile.
    if (event->type() == QEvent::FontChange && !widened_) {
        QWidget::changeEvent(event); // NOLINT(bugprone-parent-virtual-call)
        return;
    }
    QComboBox::changeEvent(event);
}

void CatalogueList::WidenPopupForLongestRow() {
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int row = 0; row < count(); ++row) {
        widest = std::max(widest, metrics.horizontalAdvance(itemText(row)));
    }
    view()->setMinimumWidth(widest + view()->verticalScrollBar()->sizeHint().width() +
                            4 * view()->frameWidth() + 8);
}

} // namespace dieprofile

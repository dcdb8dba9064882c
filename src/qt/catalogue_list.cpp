#include "qt/catalogue_list.h"

#include <QAbstractItemView>
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

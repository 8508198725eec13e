#include "ui/looks/ListRowDelegate.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>

#include <algorithm>

namespace vostrel {

void ListRowDelegate::Install(QComboBox* c) {
    QStringList texts;
    for (int i = 0; i < c->count(); ++i) {
        texts.append(c->itemText(i));
    }
    c->setItemDelegate(new ListRowDelegate(RowHeight(c->view()->font(), texts), c));
}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QSize size = QItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), rowHeight_));
    return size;
}

int ListRowDelegate::RowHeight(const QFont& font, const QStringList& texts) {
    const QFontMetrics fm(font);
    // A centred line gets half the spare height on each side; the side whose ink overshoots
    // the font's ascent or descent the most decides.
    int overshoot = 0;
    for (const QString& text : texts) {
        if (text.isEmpty()) {
            continue;
        }
        const QRect ink = fm.tightBoundingRect(text);
        overshoot = std::max(overshoot, -ink.top() + 1 - fm.ascent());
        overshoot = std::max(overshoot, ink.bottom() + 2 - fm.descent());
    }
    return fm.height() + 2 * overshoot;
}

} // namespace vostrel

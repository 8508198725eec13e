#pragma once
// Rows of a drop-down list tall enough for every glyph of its items: "√" rises above the
// font's ascent, and a row of the font's height would cut its top off.

#include <QItemDelegate>

namespace vostrel {

class ListRowDelegate : public QItemDelegate {
    Q_OBJECT
public:
    ListRowDelegate(int rowHeight, QObject* parent)
        : QItemDelegate(parent), rowHeight_(rowHeight) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The height of a row that shows each of texts, vertically centred, with a pixel to spare
    // above and below its ink.
    static int RowHeight(const QFont& font, const QStringList& texts);

private:
    int rowHeight_ = 0;
};

} // namespace vostrel

#pragma once
// Rows of a drop-down list tall enough for every glyph of its items: "√" rises above the
// font's ascent, and a row of the font's height would cut its top off.

#include <QItemDelegate>

class QComboBox;

namespace vostrel {

class ListRowDelegate : public QItemDelegate {
    Q_OBJECT
public:
    // Gives the list of c rows for its items in the list's font; call once both are set.
    static void Install(QComboBox* c);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ListRowDelegate(int rowHeight, QObject* parent)
        : QItemDelegate(parent), rowHeight_(rowHeight) {}

    // The height of a row that shows each of texts, vertically centred, with a pixel to spare
    // above and below its ink.
    static int RowHeight(const QFont& font, const QStringList& texts);

    int rowHeight_ = 0;
};

} // namespace vostrel

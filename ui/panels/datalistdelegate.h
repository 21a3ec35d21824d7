#pragma once

#include "ui/panels/textcache.h"

#include <QStyledItemDelegate>

// Paints the data list's cells. A new sample scrolls the whole list, so every
// visible cell is painted again for each reading; each distinct text is laid
// out once and kept, so that the repaint only draws glyphs. The cells look as
// the style's own item painting makes them; the rare cells that need more
// (an elided text, the focus frame) are left to the style.
class DataListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    // A screenful of rows, four texts each, on the tallest screens.
    mutable TextCache m_texts{512};
};

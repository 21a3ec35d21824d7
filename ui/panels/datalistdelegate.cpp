#include "ui/panels/datalistdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QtMath>

namespace {

QPalette::ColorGroup colorGroup(const QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

} // namespace

void DataListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QFont& font = option.font;
    // Texts cut short, the focus frame and empty cells are rare: the style
    // paints those itself.
    const TextCache::Text* laid = text.isEmpty() ? nullptr : &m_texts.get(font, text);
    if (!laid || (option.state & QStyle::State_HasFocus) || laid->advance > textRect.width()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    const QPalette::ColorGroup group = colorGroup(option);
    const bool selected = option.state & QStyle::State_Selected;
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(font);
    // Centred as the style centres a laid-out line: its exact height rounded
    // up, the space left halved in whole pixels.
    const TextCache::Metrics& m = m_texts.metrics(font);
    const int lineHeight = qCeil(m.exactAscent + m.exactDescent);
    const int top = textRect.top() + (textRect.height() - lineHeight) / 2;
    laid->draw(*painter, QPointF(textRect.left(), top));
}

#include "RegisterCellDelegate.h"

#include "RegisterCellText.h"

#include <QPainter>

void RegisterCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QColor background = option.palette.color(QPalette::Base);
    QColor text = Qt::black;
    if (index.column() == IndexColumn)
        background = option.palette.color(QPalette::Button);
    else if (const QVariant colour = index.data(Qt::BackgroundRole); colour.canConvert<QColor>())
        background = colour.value<QColor>();
    if (option.state & QStyle::State_Selected) {
        background = QColor(0, 0, 128);
        text = Qt::white;
    }
    painter->save();
    painter->fillRect(option.rect, background);
    painter->setClipRect(option.rect);
    painter->setPen(text);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(5, 5, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

#pragma once

#include <QStyledItemDelegate>

/// Draws every cell of the register grid itself: the index column in the button face colour, the
/// others in the window colour or the colour the model gives, a selected cell navy with white text,
/// and the text clipped to the cell, 5 pixels in from its top-left corner.
class RegisterCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

#include "SensorListDrawing.h"

#include "ChannelColours.h"

#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace {

void drawSensorItem(QPainter &painter, const QRect &rect, int item)
{
    painter.save();
    painter.fillRect(rect, QColor(ChannelColours::sensor[item]));
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSize(8);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(rect.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Sensor: %1").arg(item));
    painter.restore();
}

class SensorItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.row() >= 0 && index.row() < 3)
            drawSensorItem(*painter, option.rect, index.row());
        else
            QStyledItemDelegate::paint(painter, option, index);
    }
};

/// Paints the closed list: the frame and arrow as the style draws them, the field as the items.
class SensorFacePainter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *list = qobject_cast<QComboBox *>(watched);
        if (!list || event->type() != QEvent::Paint)
            return false;
        const int item = list->currentIndex();
        if (item < 0 || item > 2)
            return false;
        QStylePainter painter(list);
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.editable = list->isEditable();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field =
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        drawSensorItem(painter, field, item);
        return true;
    }
};

} // namespace

void drawSensorList(QComboBox *list)
{
    list->setItemDelegate(new SensorItemDelegate(list));
    list->installEventFilter(new SensorFacePainter(list));
}

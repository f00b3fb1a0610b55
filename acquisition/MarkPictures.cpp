#include "MarkPictures.h"

#include <QPainter>
#include <QPainterPath>

QPixmap markPicture(Mark mark)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (mark) {
    case Mark::Blank:
        break;
    case Mark::Pending: {
        QFont font = painter.font();
        font.setPixelSize(15);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(0, 70, 220));
        painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Mark::Done: {
        QPainterPath tick;
        tick.moveTo(2.5, 8.5);
        tick.lineTo(6.5, 12.5);
        tick.lineTo(13.5, 3.5);
        painter.setPen(QPen(QColor(0, 160, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(tick);
        break;
    }
    case Mark::Failed:
        painter.setPen(QPen(QColor(215, 0, 0), 2.2));
        painter.drawEllipse(QRectF(2, 2, 12, 12));
        painter.drawLine(QPointF(4.2, 4.2), QPointF(11.8, 11.8));
        break;
    }
    return picture;
}

#include "DialBox.h"

#include <QPainter>
#include <cmath>
#include <numbers>

void DrawDial(QPainter &painter, float value, const QColor &bright, const QColor &dim)
{
    painter.fillRect(QRect(0, 0, 120, 120), Qt::black);
    painter.setBrush(Qt::black);
    painter.setPen(QPen(dim, 3));
    painter.drawEllipse(QRect(20, 20, 78, 78));
    painter.setPen(QPen(dim, 1));
    painter.drawLine(59, 25, 59, 93);
    painter.drawLine(25, 59, 93, 59);
    QFont font = painter.font();
    font.setPointSize(7);
    painter.setFont(font);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::black);
    const QFontMetrics metrics(font);
    const auto label = [&](int left, int top, const QString &text) {
        painter.drawText(QPoint(left, top + metrics.ascent()), text);
    };
    label(105, 55, QStringLiteral("0"));
    label(55, 2, QStringLiteral("90"));
    label(2, 55, QStringLiteral("180"));
    label(52, 105, QStringLiteral("270"));
    const double a = double(value) * std::numbers::pi / 180.0;
    const int x = int(std::trunc(59 + 50 * std::cos(a)));
    const int y = int(std::trunc(59 - 50 * std::sin(a)));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QPen(bright, 2));
    painter.drawLine(59, 59, x, y);
}

DialBox::DialBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DialBox::showReading(float value, const QColor &bright, const QColor &dim)
{
    // The dials are refreshed at every tick, also while nothing changes.
    if (reading_ && reading_->value == value && reading_->bright == bright && reading_->dim == dim)
        return;
    reading_ = Reading{value, bright, dim};
    update();
}

void DialBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (reading_ && std::isfinite(reading_->value))
        DrawDial(painter, reading_->value, reading_->bright, reading_->dim);
    else
        painter.fillRect(rect(), Qt::black);
}

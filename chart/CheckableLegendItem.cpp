#include "CheckableLegendItem.h"

namespace {
constexpr int kBox = 10;
constexpr int kGap = 4;
} // namespace

QSize CheckableLegendItem::minimumOuterSizeHint() const
{
    const QSize base = QCPPlottableLegendItem::minimumOuterSizeHint();
    return {base.width() + kBox + kGap, std::max(base.height(), kBox + mMargins.top() + mMargins.bottom())};
}

void CheckableLegendItem::draw(QCPPainter *painter)
{
    const QRect area = mRect;
    const QRect box(area.left(), area.center().y() - kBox / 2, kBox, kBox);
    painter->setPen(QPen(Qt::white));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(box);
    if (mPlottable->visible()) {
        painter->drawLine(QLineF(box.left() + 2, box.center().y(), box.center().x(), box.bottom() - 2));
        painter->drawLine(QLineF(box.center().x(), box.bottom() - 2, box.right() - 1, box.top() + 2));
    }
    // The entry itself, drawn right of the box.
    const QRect saved = mRect;
    mRect = area.adjusted(kBox + kGap, 0, 0, 0);
    QCPPlottableLegendItem::draw(painter);
    mRect = saved;
}

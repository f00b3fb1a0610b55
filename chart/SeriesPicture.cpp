#include "SeriesPicture.h"

#include "PointSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr int PenWidth = 2;
// How far beyond a segment's end pixel an aliased pen of PenWidth may colour.
constexpr double PenReach = PenWidth + 1;
} // namespace

SeriesPicture::SeriesPicture(QCustomPlot *plot, const ChartData &data) : QCPLayerable(plot), data_(data)
{
    const QString name = QStringLiteral("series");
    if (!plot->layer(name))
        plot->addLayer(name, plot->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    plot->layer(name)->setMode(QCPLayer::lmBuffered);
    setLayer(name);
    setAntialiased(false);
}

QRect SeriesPicture::clipRect() const
{
    return mParentPlot->axisRect()->rect();
}

SeriesPicture::Frame SeriesPicture::frameNow(const ShownSeries &shown) const
{
    return {mParentPlot->axisRect()->rect(), mParentPlot->xAxis->range(), mParentPlot->yAxis->range(), shown,
            mParentPlot->bufferDevicePixelRatio()};
}

SeriesPicture::Change SeriesPicture::update(const std::array<SeriesView, ChartData::SeriesCount> &views,
                                            const ShownSeries &shown)
{
    const Frame frame = frameNow(shown);
    bool whole = !valid_ || frame != painted_;
    painted_ = frame;
    double from = std::numeric_limits<double>::infinity();
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        ReducedSeries &reduced = reduced_[std::size_t(i)];
        if (!shown[std::size_t(i)]) {
            reduced.forget(); // shown again, it is reduced anew
            continue;
        }
        const std::size_t changed = reduced.update(data_.series(i), views[std::size_t(i)]);
        if (changed == ReducedSeries::Unchanged)
            continue;
        if (changed == 0)
            whole = true;
        else // the segment that leads to the first changed point changes with it
            from = std::min(from, mParentPlot->xAxis->coordToPixel(reduced.points()[changed - 1].x));
    }
    if (whole) {
        paintWhole();
        return Change::Whole;
    }
    if (std::isinf(from))
        return Change::None;
    paintFrom(from);
    return Change::Columns;
}

void SeriesPicture::paintWhole()
{
    const QSize size = painted_.area.size() * painted_.pixelRatio;
    if (image_.size() != size)
        image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(painted_.pixelRatio);
    image_.fill(Qt::transparent);
    QPainter painter(&image_);
    painter.translate(-painted_.area.topLeft());
    paint(painter, -std::numeric_limits<double>::infinity());
    valid_ = true;
}

void SeriesPicture::paintFrom(double pixel)
{
    QPainter painter(&image_);
    painter.translate(-painted_.area.topLeft());
    const int left = int(std::floor(pixel - PenReach));
    const QRect columns(left, painted_.area.top(), painted_.area.right() - left + 1, painted_.area.height());
    painter.setClipRect(columns);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(columns, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    paint(painter, left);
}

void SeriesPicture::paint(QPainter &painter, double fromPixel) const
{
    const QCPAxis *xAxis = mParentPlot->xAxis;
    const QCPAxis *yAxis = mParentPlot->yAxis;
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        if (!painted_.shown[std::size_t(i)])
            continue;
        const std::vector<PlotPoint> &line = points(i);
        const SeriesStyle &style = data_.style(i);
        painter.setPen(QPen(QColor(style.lineColour), PenWidth));
        // The first segment that reaches the columns: the one ending at the first point in them.
        auto first = std::partition_point(line.begin(), line.end(), [&](const PlotPoint &p) {
            return xAxis->coordToPixel(p.x) < fromPixel - PenReach;
        });
        if (first != line.begin())
            --first;
        QPointF previous;
        for (auto p = first; p != line.end(); ++p) {
            const QPointF at(xAxis->coordToPixel(p->x), yAxis->coordToPixel(p->y));
            if (p != first) {
                if (style.steps) {
                    const QPointF corner(at.x(), previous.y());
                    painter.drawLine(previous, corner);
                    painter.drawLine(corner, at);
                } else {
                    painter.drawLine(previous, at);
                }
            } else if (line.size() == 1) {
                painter.drawPoint(at);
            }
            previous = at;
        }
    }
}

void SeriesPicture::draw(QCPPainter *painter)
{
    // Printed or exported at another size, the kept picture does not fit: painted afresh.
    if (valid_ && frameNow(painted_.shown) == painted_) {
        painter->drawImage(painted_.area.topLeft(), image_);
        return;
    }
    paint(*painter, -std::numeric_limits<double>::infinity());
}

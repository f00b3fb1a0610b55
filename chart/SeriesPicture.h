#pragma once

#include "ChartData.h"
#include "ReducedSeries.h"

#include <QImage>
#include <array>
#include <qcustomplot.h>

/// The chart's five lines as one picture kept between frames. A frame that only adds points at
/// the end of the series repaints the pixel columns from the first changed point on; anything
/// else (a zoom, a page, a resize, a line shown or hidden, an axis that moved) paints it whole.
class SeriesPicture : public QCPLayerable {
    Q_OBJECT

public:
    enum class Change { None, Columns, Whole };

    /// On its own buffered layer, so that a frame that changes only the lines replots only them.
    SeriesPicture(QCustomPlot *plot, const ChartData &data);

    /// Brings the points and the picture up to date with the axes as they are now.
    Change update(const std::array<SeriesView, ChartData::SeriesCount> &views, const ShownSeries &shown);
    /// The points series `i` is drawn from.
    const std::vector<PlotPoint> &points(int i) const { return reduced_[std::size_t(i)].points(); }

protected:
    void applyDefaultAntialiasingHint(QCPPainter *) const override {}
    QRect clipRect() const override;
    void draw(QCPPainter *painter) override;

private:
    struct Frame {
        QRect area;
        QCPRange x;
        QCPRange y;
        ShownSeries shown{};
        qreal pixelRatio = 1;
        bool operator==(const Frame &other) const = default;
    };
    Frame frameNow(const ShownSeries &shown) const;
    /// Paints the shown lines' segments that reach pixel column `fromPixel` or lie right of it.
    void paint(QPainter &painter, double fromPixel) const;
    void paintWhole();
    void paintFrom(double pixel);

    const ChartData &data_;
    std::array<ReducedSeries, ChartData::SeriesCount> reduced_;
    QImage image_;
    Frame painted_;
    bool valid_ = false;
};

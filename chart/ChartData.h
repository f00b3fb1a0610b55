#pragma once

#include "PointSeries.h"

#include <QRgb>
#include <QString>

#include <array>
#include <cstddef>

/// How a series is titled and drawn, and the colour every one of its points carries.
struct SeriesStyle {
    QString title;
    QRgb lineColour;
    QRgb pointColour;
    bool steps; ///< level held up to the next point's x, then a vertical step
};

/// The five lines of the chart, addressed by index: 0..2 the sensors, 3 PK1, 4 PK2.
class ChartData {
public:
    static constexpr int SeriesCount = 5;

    ChartData();

    PointSeries &series(int i) { return series_[std::size_t(i)]; }
    const PointSeries &series(int i) const { return series_[std::size_t(i)]; }
    const SeriesStyle &style(int i) const { return styles_[std::size_t(i)]; }

    /// Empties the series 0, 1, 2, 3 and 4, in this order.
    void clear();

    /// The largest point count of all series.
    std::size_t longestSeries() const;

private:
    std::array<PointSeries, SeriesCount> series_;
    std::array<SeriesStyle, SeriesCount> styles_;
};

/// Which series the legend shows.
using ShownSeries = std::array<bool, ChartData::SeriesCount>;

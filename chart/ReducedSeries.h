#pragma once

#include "PointReduction.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

class PointSeries;

/// Positions [from, to) of a series drawn over the x range [xMin, xMax] across `columns` pixels.
struct SeriesView {
    std::size_t from = 0;
    std::size_t to = 0;
    double xMin = 0;
    double xMax = 0;
    int columns = 0;
};

/// The points a view of one series draws, kept from frame to frame: when the series has only
/// grown at its end and the view is the same but for its end, only the last half column and
/// what follows are reduced again, so a frame costs what arrived since the last one.
class ReducedSeries {
public:
    static constexpr std::size_t Unchanged = std::numeric_limits<std::size_t>::max();

    /// Brings the points up to date with `view` of `series`. Returns the position of the
    /// first point that changed (0 when everything was reduced anew), or Unchanged.
    std::size_t update(const PointSeries &series, const SeriesView &view);
    const std::vector<PlotPoint> &points() const { return points_; }
    /// The next update reduces everything anew.
    void forget() { valid_ = false; }

private:
    bool grownAtTheEnd(const PointSeries &series, const SeriesView &view) const;

    std::vector<PlotPoint> points_;
    SeriesView view_;
    std::uint64_t generation_ = 0;
    LastBin lastBin_;
    bool valid_ = false;
};

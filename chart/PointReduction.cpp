#include "PointReduction.h"

#include "PointSeries.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// Points are kept per half pixel: with whole pixels a wide pen's edges at the column
// borders come out a pixel different in about one column in a hundred.
constexpr int BinsPerColumn = 2;

// Pixel column of x, everything left of the view in column −1 and everything right in column `columns`.
class ColumnOf {
public:
    ColumnOf(double xMin, double xMax, int columns) : xMin_(xMin), scale_(columns / (xMax - xMin)), columns_(columns)
    {
        // A view without width puts everything in one column.
        if (!std::isfinite(scale_) || scale_ <= 0)
            scale_ = 0;
    }

    long operator()(double x) const
    {
        const double t = (x - xMin_) * scale_;
        if (t < 0)
            return -1;
        if (t >= columns_)
            return columns_;
        return long(t);
    }

private:
    double xMin_;
    double scale_;
    int columns_;
};
} // namespace

void reducePoints(const PointSeries &series, std::size_t from, std::size_t to, double xMin, double xMax, int columns,
                  std::vector<PlotPoint> &out, LastBin *last)
{
    const ColumnOf columnOf(xMin, xMax, columns * BinsPerColumn);
    std::size_t first = from;
    std::size_t step = 1; // the last column's point count: columns of a steady sampling hold as many
    while (first < to) {
        const long column = columnOf(series.x(first));
        const auto inColumn = [&](std::size_t i) { return columnOf(series.x(i)) <= column; };
        // End of the column (the column of x never decreases along the series): bracketed by
        // steps growing from the last column's count, then halved. A steady sampling brackets it
        // at the first step, so that a day's points cost a few reads per column, not a search.
        std::size_t lo = first + 1, hi = to;
        for (std::size_t probe = step; lo < hi; probe *= 2) {
            const std::size_t at = lo + std::min(probe, hi - lo) - 1;
            if (!inColumn(at)) {
                hi = at;
                break;
            }
            lo = at + 1;
        }
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (inColumn(mid))
                lo = mid + 1;
            else
                hi = mid;
        }
        const std::size_t end = lo;
        step = std::max<std::size_t>(1, end - first);
        if (last)
            *last = {first, out.size()};
        std::array<std::size_t, 4> picked{first, first, first, end - 1};
        if (end - first > 2) {
            const MinMaxAt extremes = series.minMax(first, end);
            picked[1] = std::min(extremes.minAt, extremes.maxAt);
            picked[2] = std::max(extremes.minAt, extremes.maxAt);
        }
        const auto last = std::unique(picked.begin(), picked.end());
        for (auto at = picked.begin(); at != last; ++at)
            out.push_back({series.x(*at), series.y(*at)});
        first = end;
    }
}

double roundedSpan(double span)
{
    if (!(span > 0) || !std::isfinite(span))
        return span;
    const double step = std::exp2(std::floor(std::log2(span / 256)));
    return std::ceil(span / step) * step;
}

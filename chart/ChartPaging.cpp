#include "ChartPaging.h"

#include <algorithm>

void ChartPaging::setPerPage(int perPage, const ChartData &chart, const ShownSeries &shown)
{
    perPage_ = std::max(perPage, 0);
    selectPage(page_, chart, shown);
}

void ChartPaging::selectPage(int page, const ChartData &chart, const ShownSeries &shown)
{
    page_ = std::clamp(page, 1, pageCount(chart, shown));
}

int ChartPaging::pageCount(const ChartData &chart, const ShownSeries &shown) const
{
    if (perPage_ == 0)
        return 1;
    std::size_t longest = 0;
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        if (shown[std::size_t(i)])
            longest = std::max(longest, chart.series(i).size());
    }
    const std::size_t n = std::size_t(perPage_);
    return std::max(1, int((longest + n - 1) / n));
}

QString ChartPaging::indicatorText(const ChartData &chart, const ShownSeries &shown) const
{
    return QStringLiteral("Page %1 of %2").arg(page_).arg(pageCount(chart, shown));
}

PageSlice ChartPaging::slice(std::size_t count) const
{
    if (perPage_ == 0)
        return {0, count};
    const std::size_t n = std::size_t(perPage_);
    const std::size_t from = std::min(std::size_t(page_ - 1) * n, count);
    return {from, std::min(from + n, count)};
}

std::optional<AxisRange> ChartPaging::axisRange(const ChartData &chart, const ShownSeries &shown) const
{
    if (perPage_ == 0)
        return std::nullopt;
    std::optional<AxisRange> range;
    std::size_t pagePoints = 0;
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        const PointSeries &series = chart.series(i);
        const PageSlice part = slice(series.size());
        if (!shown[std::size_t(i)] || part.from == part.to)
            continue;
        const double first = series.x(part.from);
        const double last = series.x(part.to - 1);
        range = range ? AxisRange{std::min(range->min, first), std::max(range->max, last)} : AxisRange{first, last};
        pagePoints = std::max(pagePoints, part.to - part.from);
    }
    if (!range)
        return std::nullopt;
    if (pagePoints < std::size_t(perPage_))
        range->max = range->min + perPage_ * (range->max - range->min) / double(pagePoints);
    // A page whose points share one x would give the axis no width at all.
    if (range->max <= range->min)
        return AxisRange{range->min - 0.5, range->min + 0.5};
    return range;
}

#pragma once

#include "ChartData.h"

#include <QString>

#include <cstddef>
#include <optional>

/// Positions [from, to) of one series that a page shows.
struct PageSlice {
    std::size_t from = 0;
    std::size_t to = 0;
};

/// Bottom-axis range of a page.
struct AxisRange {
    double min = 0;
    double max = 0;
};

/// Splitting the plot into pages of a fixed number of points per series.
/// A page shows, of every series, the points at positions (page − 1)·N .. page·N − 1.
class ChartPaging {
public:
    /// Points per page; 0 when paging is off.
    int perPage() const { return perPage_; }
    /// Current page, 1-based, within 1..pageCount of the chart it was last set against
    /// (after clearing the chart, selectPage(page()) brings it back within the count).
    int page() const { return page_; }

    /// Sets N (0 switches paging off); a current page beyond the new count moves to the last page.
    void setPerPage(int perPage, const ChartData &chart, const ShownSeries &shown);
    /// Selects `page`, clamped to 1..pageCount.
    void selectPage(int page, const ChartData &chart, const ShownSeries &shown);

    /// ceil(n / N) for the longest shown series; 1 when paging is off or nothing shown has a point.
    int pageCount(const ChartData &chart, const ShownSeries &shown) const;
    /// "Page %d of %d".
    QString indicatorText(const ChartData &chart, const ShownSeries &shown) const;

    /// Positions of a series of `count` points on the current page (all of them when paging is off).
    PageSlice slice(std::size_t count) const;

    /// Bottom axis of the current page: from the smallest first x to the largest last x
    /// of the shown series' slices; a page holding d < N points (d of its longest slice)
    /// is stretched to first + N·(last − first)/d so that it keeps the scale of a full
    /// page. None when paging is off or the page shows no point: the axis is then automatic.
    std::optional<AxisRange> axisRange(const ChartData &chart, const ShownSeries &shown) const;

private:
    int perPage_ = 0;
    int page_ = 1;
};

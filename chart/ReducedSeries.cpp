#include "ReducedSeries.h"

#include "PointSeries.h"

bool ReducedSeries::grownAtTheEnd(const PointSeries &series, const SeriesView &view) const
{
    return valid_ && series.generation() == generation_ && view.from == view_.from && view.to >= view_.to &&
           view.xMin == view_.xMin && view.xMax == view_.xMax && view.columns == view_.columns;
}

std::size_t ReducedSeries::update(const PointSeries &series, const SeriesView &view)
{
    if (grownAtTheEnd(series, view)) {
        // A line without points (an inactive channel's) stays unchanged, not redrawn every frame.
        if (view.to == view_.to)
            return Unchanged;
        if (points_.empty()) {
            reducePoints(series, view.from, view.to, view.xMin, view.xMax, view.columns, points_, &lastBin_);
            view_ = view;
            return 0;
        }
        const std::size_t changed = lastBin_.kept;
        points_.resize(changed);
        reducePoints(series, lastBin_.from, view.to, view.xMin, view.xMax, view.columns, points_, &lastBin_);
        view_ = view;
        return changed;
    }
    points_.clear();
    lastBin_ = {};
    reducePoints(series, view.from, view.to, view.xMin, view.xMax, view.columns, points_, &lastBin_);
    view_ = view;
    generation_ = series.generation();
    valid_ = true;
    return 0;
}

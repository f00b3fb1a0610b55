#include "PointSeries.h"

#include <algorithm>
#include <iterator>

void PointSeries::add(double x, double y)
{
    if (xs_.empty() || x >= xs_.back()) {
        xs_.push_back(x);
        ys_.append(y);
        return;
    }
    const std::size_t at = upperBound(x);
    xs_.insert(std::next(xs_.begin(), static_cast<std::ptrdiff_t>(at)), x);
    ys_.insert(at, y);
    pyramid_.invalidateFrom(at);
}

void PointSeries::clear()
{
    // Releases the memory too: a cleared day-long plot should not keep its gigabyte.
    xs_ = {};
    ys_.clear();
    pyramid_.clear();
}

std::size_t PointSeries::lowerBound(double x) const
{
    return static_cast<std::size_t>(std::lower_bound(xs_.begin(), xs_.end(), x) - xs_.begin());
}

std::size_t PointSeries::upperBound(double x) const
{
    return static_cast<std::size_t>(std::upper_bound(xs_.begin(), xs_.end(), x) - xs_.begin());
}

std::size_t PointSeries::bytesUsed() const
{
    return xs_.capacity() * sizeof(double) + ys_.bytesUsed() + pyramid_.bytesUsed();
}

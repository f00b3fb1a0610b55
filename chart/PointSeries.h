#pragma once

#include "CompactValues.h"
#include "MinMaxPyramid.h"

#include <cstddef>
#include <vector>

/// The points of one chart line in ascending x, twelve bytes a point (x as double,
/// y in a CompactValues column) plus a small min/max summary for drawing.
class PointSeries {
public:
    std::size_t size() const { return xs_.size(); }
    bool empty() const { return xs_.empty(); }
    double x(std::size_t i) const { return xs_[i]; }
    double y(std::size_t i) const { return ys_.at(i); }

    /// Adds a point after the last point whose x does not exceed `x`, so equal x
    /// keep their order of arrival. Constant time when `x` is not below the last x.
    void add(double x, double y);
    void clear();

    /// Position of the first point whose x is not below `x` (size() if none).
    std::size_t lowerBound(double x) const;
    /// Position of the first point whose x is above `x` (size() if none).
    std::size_t upperBound(double x) const;

    /// Smallest and largest y among the non-empty position range [from, to).
    MinMaxAt minMax(std::size_t from, std::size_t to) const { return pyramid_.find(ys_, from, to); }

    std::size_t bytesUsed() const;

private:
    std::vector<double> xs_;
    CompactValues ys_;
    MinMaxPyramid pyramid_;
};

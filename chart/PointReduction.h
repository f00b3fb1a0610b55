#pragma once

#include <cstddef>
#include <vector>

class PointSeries;

struct PlotPoint {
    double x;
    double y;
};

/// The few points of positions [from, to) that draw the same straight or stepped
/// line as all of them when the x range [xMin, xMax] spans `columns` pixel columns:
/// for each half column the first, lowest, highest and last of its points, in x order.
/// Points left or right of the range count as one column each side, so lines that
/// enter or leave the view are kept.
std::vector<PlotPoint> reducePoints(const PointSeries &series, std::size_t from, std::size_t to, double xMin,
                                    double xMax, int columns);

/// The view [xMin, xMax] of a whole series: its points in range and one neighbour each side.
std::vector<PlotPoint> reduceView(const PointSeries &series, double xMin, double xMax, int columns);

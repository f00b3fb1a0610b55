#pragma once

#include <cstddef>
#include <vector>

class PointSeries;

struct PlotPoint {
    double x;
    double y;
};

/// Where the last half column of a reduction begins: in the series and among the points kept.
/// Points appended later change that half column and the ones after it only.
struct LastBin {
    std::size_t from = 0;
    std::size_t kept = 0;
};

/// The few points of positions [from, to) that draw the same straight or stepped
/// line as all of them when the x range [xMin, xMax] spans `columns` pixel columns:
/// for each half column the first, lowest, highest and last of its points, in x order.
/// Points left or right of the range count as one column each side, so lines that
/// enter or leave the view are kept. The points are appended to `out`; `last` (if given)
/// learns where the last half column begins.
void reducePoints(const PointSeries &series, std::size_t from, std::size_t to, double xMin, double xMax, int columns,
                  std::vector<PlotPoint> &out, LastBin *last = nullptr);

/// The bottom axis's span for the full view of data spanning `span`: rounded up to a step of at
/// most 1/256 of it (whole numbers stay as they are below 512), so that the axis moves only
/// every few pixels' worth of new points and the frames between draw only what arrived.
double roundedSpan(double span);

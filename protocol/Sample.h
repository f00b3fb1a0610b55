#pragma once

#include <array>

/// One decoded measurement as the pages take it: when it was taken on the acquisition
/// time axis, the three readings with their presence and cycle counters, and the two
/// output lines.
struct Sample {
    double time = 0; ///< measTime, seconds
    std::array<float, 3> value{};
    std::array<bool, 3> present{};
    std::array<float, 3> cycles{};
    bool pk1 = false;
    bool pk2 = false;
};

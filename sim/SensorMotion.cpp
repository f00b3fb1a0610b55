#include "SensorMotion.h"

#include <cmath>
#include <numbers>

namespace SensorMotion {

double wrap360(double degrees)
{
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped < 0.0)
        wrapped += 360.0;
    // A tiny negative angle wraps to 360 after rounding; that is 0 again.
    return wrapped >= 360.0 ? 0.0 : wrapped;
}

double angle(int sensor, double seconds)
{
    switch (sensor) {
    case 0:
        return wrap360(30.0 * seconds);
    case 1:
        return 180.0 + 120.0 * std::sin(2.0 * std::numbers::pi * seconds / 6.0);
    default:
        return wrap360(-12.0 * seconds);
    }
}

double quantise(double degrees, double resolution)
{
    if (!std::isfinite(resolution) || resolution < 1.0)
        return degrees;
    return std::floor(degrees * resolution / 360.0) * 360.0 / resolution;
}

} // namespace SensorMotion

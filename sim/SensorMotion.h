#pragma once

/// The simulated shafts: deterministic angles as functions of the time since power-up.
namespace SensorMotion {

/// Maps any angle into [0, 360).
double wrap360(double degrees);

/// Angle of sensor 0..2 in [0, 360): sensor 0 turns forward at 30 °/s, sensor 1 swings
/// between 60° and 300° with a 6 s period, sensor 2 turns backward at 12 °/s.
double angle(int sensor, double seconds);

/// The angle as a sensor of `resolution` steps per turn reports it (rounded down to a step);
/// a resolution below 1 reports the angle as it is.
double quantise(double degrees, double resolution);

} // namespace SensorMotion

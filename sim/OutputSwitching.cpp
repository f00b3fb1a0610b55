#include "OutputSwitching.h"

#include <algorithm>

void OutputSwitching::update(const SwitchInputs &in, double seconds)
{
    const bool cyclic = in.mode == 3;
    pulseLeft_ = cyclic ? pulseLeft_ - seconds : 0.0;
    const double rearmLevel = std::min(in.P1, in.P2);

    for (int i = 0; i < 3; ++i) {
        if (!in.values[i])
            continue;
        const double v = *in.values[i];
        if (v < rearmLevel) {
            armed_[i] = true;
        } else if (armed_[i] && v >= in.P1) {
            armed_[i] = false;
            if (!cyclic)
                continue;
            ++cycles_[i];
            if (i == in.activeSensor)
                pulseLeft_ = in.onTimeMs / 1000.0;
        }
    }

    const std::optional<double> active = in.activeSensor < 3 ? in.values[in.activeSensor] : std::nullopt;
    if (!active) {
        pk1_ = pk2_ = false;
        return;
    }
    const double v = *active;
    switch (in.mode) {
    case 1:
        pk1_ = v >= in.P1;
        pk2_ = v >= in.P2;
        break;
    case 2:
        pk1_ = v >= in.P1;
        pk2_ = v >= in.P1 - in.P2;
        break;
    case 3:
        pk1_ = pulseLeft_ > 0.0;
        pk2_ = armed_[in.activeSensor];
        break;
    default:
        pk1_ = pk2_ = false;
    }
}

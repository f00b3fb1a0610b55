#pragma once

#include <optional>

/// The mean period of the last ten measurement frames in continuous sampling.
class SamplePeriodMeter {
public:
    static constexpr int kFrames = 10;

    /// Counts one frame at acquisition time measTime (seconds); every tenth frame
    /// returns the mean period since the previous mark, in milliseconds.
    std::optional<double> frame(double measTime)
    {
        if (++periodFrameCount < kFrames)
            return std::nullopt;
        const double periodMs = (measTime - periodMarkTime) * 1000 * 0.1;
        periodMarkTime = measTime;
        periodFrameCount = 0;
        return periodMs;
    }

private:
    int periodFrameCount = 0;
    double periodMarkTime = 0;
};

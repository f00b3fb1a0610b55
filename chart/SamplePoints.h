#pragma once

#include <cstdint>

class ChartData;

/// What one measurement sample brings to the chart.
struct ChartSample {
    double measTime = 0;
    float channelValue[3] = {};
    bool active[3] = {}; ///< the channel's "Aktywny" box
    std::uint8_t pk1State = 0;
    std::uint8_t pk2State = 0;
    std::int32_t H1 = 0, F1 = 0, H2 = 0, F2 = 0; ///< heights and offsets of the PK1 and PK2 lines
};

/// Level of an output line: H × state + F, in 64 bits so that no stored height or offset overflows.
std::int64_t outputLineLevel(std::int32_t H, std::uint8_t state, std::int32_t F);

/// Adds the sample's points: one to each sensor series whose channel is active,
/// and one to each of PK1 and PK2 always. The caller appends only while recording.
void appendSamplePoints(ChartData &chart, const ChartSample &sample);

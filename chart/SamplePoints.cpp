#include "SamplePoints.h"

#include "ChartData.h"

std::int64_t outputLineLevel(std::int32_t H, std::uint8_t state, std::int32_t F)
{
    return std::int64_t(H) * state + F;
}

void appendSamplePoints(ChartData &chart, const ChartSample &sample)
{
    for (int i = 0; i < 3; ++i) {
        if (sample.active[i])
            chart.series(i).add(sample.measTime, sample.channelValue[i]);
    }
    chart.series(3).add(sample.measTime, double(outputLineLevel(sample.H1, sample.pk1State, sample.F1)));
    chart.series(4).add(sample.measTime, double(outputLineLevel(sample.H2, sample.pk2State, sample.F2)));
}

// Chart store and drawing figures: append cost, the insert case of a second run among old
// points, the chart's own frames on an offscreen plot (the first, one redrawn whole, and the
// frames of a recording that add ten points each), and resident memory per point. Prints
// figures, asserts nothing.
#include "ChartData.h"
#include "ChartPaging.h"
#include "ChartPlot.h"
#include "PointReduction.h"
#include "SamplePoints.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
constexpr double SamplePeriod = 0.005; // continuous sampling, about 200 samples per second

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

ChartSample sampleAt(long i)
{
    ChartSample sample;
    sample.measTime = i * SamplePeriod;
    for (int c = 0; c < 3; ++c) {
        sample.channelValue[c] = float(180 + 150 * std::sin(i * 1e-4 * (c + 1)) + (i * 7919 % 101) * 0.1);
        sample.active[c] = true;
    }
    sample.pk1State = std::uint8_t((i / 3000) % 2);
    sample.pk2State = std::uint8_t((i / 4100) % 2);
    sample.H1 = 50;
    sample.H2 = 50;
    sample.F2 = 75;
    return sample;
}

double medianMs(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

/// The chart's own drawing on an offscreen plot of the page's size.
class Plot {
public:
    explicit Plot(const ChartData &chart) : chartPlot_(new ChartPlot(&plot_, chart, paging_))
    {
        plot_.resize(947, 500);
    }

    /// The first frame: the plot shown, everything reduced and painted.
    double showMs()
    {
        QElapsedTimer timer;
        timer.start();
        plot_.show();
        plot_.replot(QCustomPlot::rpImmediateRefresh);
        return timer.nsecsElapsed() / 1e6;
    }

    /// One frame as the page draws it: the lines brought up to date, then painted.
    double frameMs()
    {
        QElapsedTimer timer;
        timer.start();
        chartPlot_->redraw();
        plot_.replot(QCustomPlot::rpImmediateRefresh);
        return timer.nsecsElapsed() / 1e6;
    }
    std::size_t pointsDrawn() const
    {
        std::size_t points = 0;
        for (int i = 0; i < ChartData::SeriesCount; ++i)
            points += chartPlot_->drawnPoints(i).size();
        return points;
    }

private:
    QCustomPlot plot_;
    ChartPaging paging_;
    ChartPlot *chartPlot_; // the plot's child
};

void fullRun(long samples)
{
    const long before = residentKiB();
    ChartData chart;
    QElapsedTimer timer;
    timer.start();
    for (long i = 0; i < samples; ++i)
        appendSamplePoints(chart, sampleAt(i));
    const double appendNs = double(timer.nsecsElapsed()) / samples / ChartData::SeriesCount;
    const long after = residentKiB();

    Plot plot(chart);
    const double firstMs = plot.showMs();
    std::vector<double> whole;
    for (int run = 0; run < 7; ++run) {
        chart.series(4).add(0, 0); // put among the old points: everything is reduced again
        whole.push_back(plot.frameMs());
    }
    // Recording: ten new points a frame (50 ms at 200 samples/s) under the same axes.
    std::vector<double> frames;
    long next = samples;
    for (int run = 0; run < 200; ++run) {
        for (int k = 0; k < 10; ++k)
            appendSamplePoints(chart, sampleAt(next++));
        frames.push_back(plot.frameMs());
    }
    std::sort(frames.begin(), frames.end());
    std::printf("%10ld points/series: append %5.1f ns/point | full view, 5 series: first frame %6.1f ms, redrawn "
                "whole %6.1f ms, recording frames p50 %5.2f ms p99 %5.2f ms, %zu points drawn | RSS %.2f "
                "bytes/point/series (store says %.2f)\n",
                samples, appendNs, firstMs, medianMs(whole), frames[frames.size() / 2],
                frames[frames.size() * 99 / 100], plot.pointsDrawn(),
                (after - before) * 1024.0 / samples / ChartData::SeriesCount,
                double(chart.series(0).bytesUsed()) / samples);
}

// A second run restarted at x = 0 without clearing: every point goes among the old ones.
void insertRun(long oldSamples, long newSamples)
{
    ChartData chart;
    for (long i = 0; i < oldSamples; ++i)
        appendSamplePoints(chart, sampleAt(i));
    Plot plot(chart);
    plot.showMs();
    QElapsedTimer timer;
    timer.start();
    for (long i = 0; i < newSamples; ++i)
        appendSamplePoints(chart, sampleAt(i));
    const double insertUs = timer.nsecsElapsed() / 1e3 / newSamples / ChartData::SeriesCount;
    std::printf("insert among %ld old points/series: %.1f us/point; next frame (resummarises) %.1f ms\n", oldSamples,
                insertUs, plot.frameMs());
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const long samples : {10'000L, 1'600'000L, 17'000'000L})
        fullRun(samples);
    for (const long samples : {1'600'000L, 17'000'000L})
        insertRun(samples, 2'000L);
    return 0;
}

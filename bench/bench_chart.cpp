// Chart store and drawing figures: append cost, the insert case of a second run among
// old points, level-of-detail reduction and a real offscreen replot of five series, and
// resident memory per point. Prints figures, asserts nothing.
#include "ChartData.h"
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

class Plot {
public:
    Plot()
    {
        plot_.resize(947, 500);
        // Segment by segment: one wide-pen polyline over dense columns costs the rasteriser seconds.
        plot_.setPlottingHint(QCP::phFastPolylines, true);
        const QColor colours[] = {Qt::red, Qt::green, Qt::cyan, Qt::white, QColor(255, 128, 0)};
        for (int i = 0; i < ChartData::SeriesCount; ++i) {
            QCPGraph *graph = plot_.addGraph();
            graph->setPen(QPen(colours[i], 2));
            graph->setAntialiased(false);
            graph->setAdaptiveSampling(false); // the points handed over are already what a pixel can show
            graph->setLineStyle(i >= 3 ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
        }
        plot_.yAxis->setRange(0, 370);
        plot_.show();
        plot_.replot(QCustomPlot::rpImmediateRefresh);
    }

    // One full-view frame: reduce every series to the plot's width, hand it over, replot.
    std::size_t frame(const ChartData &chart, double &reduceMs, double &replotMs)
    {
        QElapsedTimer timer;
        timer.start();
        const double xMax = std::max(chart.series(0).x(chart.series(0).size() - 1), 1.0);
        const int width = plot_.xAxis->axisRect()->width();
        std::vector<std::vector<PlotPoint>> reduced;
        std::size_t points = 0;
        for (int i = 0; i < ChartData::SeriesCount; ++i) {
            reduced.push_back(reduceView(chart.series(i), 0, xMax, width));
            points += reduced.back().size();
        }
        reduceMs = timer.nsecsElapsed() / 1e6;
        for (int i = 0; i < ChartData::SeriesCount; ++i) {
            QVector<QCPGraphData> data;
            data.reserve(qsizetype(reduced[std::size_t(i)].size()));
            for (const PlotPoint &p : reduced[std::size_t(i)])
                data.append({p.x, p.y});
            plot_.graph(i)->data()->set(data, true);
        }
        plot_.xAxis->setRange(0, xMax);
        plot_.replot(QCustomPlot::rpImmediateRefresh);
        replotMs = timer.nsecsElapsed() / 1e6;
        return points;
    }

private:
    QCustomPlot plot_;
};

void fullRun(Plot &plot, long samples)
{
    const long before = residentKiB();
    ChartData chart;
    QElapsedTimer timer;
    timer.start();
    for (long i = 0; i < samples; ++i)
        appendSamplePoints(chart, sampleAt(i));
    const double appendNs = double(timer.nsecsElapsed()) / samples / ChartData::SeriesCount;
    const long after = residentKiB();

    double reduceMs = 0, replotMs = 0;
    plot.frame(chart, reduceMs, replotMs); // the first frame also summarises the new points
    const double firstMs = replotMs;
    std::vector<double> reduces, replots;
    std::size_t points = 0;
    for (int run = 0; run < 7; ++run) {
        points = plot.frame(chart, reduceMs, replotMs);
        reduces.push_back(reduceMs);
        replots.push_back(replotMs);
    }
    std::printf("%10ld points/series: append %5.1f ns/point | full view, 5 series: reduce %6.2f ms, reduce+replot "
                "%6.2f ms (first frame %7.1f ms), %zu points drawn | RSS %.2f bytes/point/series (store says %.2f)\n",
                samples, appendNs, medianMs(reduces), medianMs(replots), firstMs, points,
                (after - before) * 1024.0 / samples / ChartData::SeriesCount,
                double(chart.series(0).bytesUsed()) / samples);
}

// A second run restarted at x = 0 without clearing: every point goes among the old ones.
void insertRun(Plot &plot, long oldSamples, long newSamples)
{
    ChartData chart;
    for (long i = 0; i < oldSamples; ++i)
        appendSamplePoints(chart, sampleAt(i));
    double reduceMs = 0, replotMs = 0;
    plot.frame(chart, reduceMs, replotMs);
    QElapsedTimer timer;
    timer.start();
    for (long i = 0; i < newSamples; ++i)
        appendSamplePoints(chart, sampleAt(i));
    const double insertUs = timer.nsecsElapsed() / 1e3 / newSamples / ChartData::SeriesCount;
    plot.frame(chart, reduceMs, replotMs);
    std::printf("insert among %ld old points/series: %.1f us/point; next frame (resummarises) %.1f ms\n", oldSamples,
                insertUs, replotMs);
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Plot plot;
    for (const long samples : {10'000L, 1'600'000L, 17'000'000L})
        fullRun(plot, samples);
    for (const long samples : {1'600'000L, 17'000'000L})
        insertRun(plot, samples, 2'000L);
    return 0;
}

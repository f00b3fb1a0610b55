#include "ChartData.h"
#include "SamplePoints.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {
std::vector<std::pair<double, double>> pointsOf(const PointSeries &series)
{
    std::vector<std::pair<double, double>> points;
    for (std::size_t i = 0; i < series.size(); ++i)
        points.emplace_back(series.x(i), series.y(i));
    return points;
}

ChartSample sampleAt(double time, float value, std::uint8_t pk1, std::uint8_t pk2)
{
    ChartSample sample;
    sample.measTime = time;
    sample.channelValue[0] = value;
    sample.channelValue[1] = value + 1;
    sample.channelValue[2] = value + 2;
    sample.active[0] = sample.active[1] = sample.active[2] = true;
    sample.pk1State = pk1;
    sample.pk2State = pk2;
    sample.H1 = 50;
    sample.F1 = 0;
    sample.H2 = 50;
    sample.F2 = 75;
    return sample;
}
enum class Arrival { RestartedRun, RandomWithTies, Descending };

// The series as a plain sorted list: each point after every point whose x does not exceed its x.
void addToReference(std::vector<std::pair<double, double>> &reference, double x, double y)
{
    const auto at = std::upper_bound(reference.begin(), reference.end(), x,
                                     [](double value, const auto &point) { return value < point.first; });
    reference.insert(at, {x, y});
}

// Compares everything the series answers with the plain list, ranges across chunk borders included.
void compareWithReference(const PointSeries &series, const std::vector<std::pair<double, double>> &reference,
                          QRandomGenerator &random)
{
    QCOMPARE(series.size(), reference.size());
    QCOMPARE(pointsOf(series), reference);
    for (const double x : {-1.0, 0.0, 7.0, 24.5, 25.0, 49.0, 1e9}) {
        const auto byX = [](const auto &point, double value) { return point.first < value; };
        const auto lower = std::lower_bound(reference.begin(), reference.end(), x, byX);
        QCOMPARE(series.lowerBound(x), std::size_t(lower - reference.begin()));
        const auto upper = std::find_if(lower, reference.end(), [x](const auto &point) { return point.first > x; });
        QCOMPARE(series.upperBound(x), std::size_t(upper - reference.begin()));
    }
    for (int trial = 0; trial < 300; ++trial) {
        const std::size_t from = random.bounded(quint32(reference.size()));
        const std::size_t to = from + 1 + random.bounded(quint32(reference.size() - from));
        const auto byY = [](const auto &a, const auto &b) { return a.second < b.second; };
        const auto first = std::next(reference.begin(), std::ptrdiff_t(from));
        const auto last = std::next(reference.begin(), std::ptrdiff_t(to));
        // The first of equal extremes, as min_element and max_element pick them.
        const auto minAt = std::size_t(std::min_element(first, last, byY) - reference.begin());
        const auto maxAt = std::size_t(std::max_element(first, last, byY) - reference.begin());
        const MinMaxAt found = series.minMax(from, to);
        QCOMPARE(found.minAt, minAt);
        QCOMPARE(found.maxAt, maxAt);
    }
}
} // namespace

Q_DECLARE_METATYPE(Arrival)

class TestChartStore : public QObject {
    Q_OBJECT

private slots:
    // A copy is what an export writes while recording goes on: nothing done to the series
    // afterwards may show in it, whichever chunk it touches.
    void copyIsASnapshot()
    {
        PointSeries series(4);
        for (int i = 0; i < 10; ++i)
            series.add(i * 10.0, i);
        const PointSeries snapshot = series;
        series.add(100.0, 1e300); // appended, into a new chunk and the side table
        series.add(35.0, -1.0);   // put among old points: a shared chunk changes
        series.add(5.0, -2.0);
        QCOMPARE(series.size(), std::size_t(13));
        QCOMPARE(snapshot.size(), std::size_t(10));
        for (std::size_t i = 0; i < 10; ++i) {
            QCOMPARE(snapshot.x(i), double(i) * 10.0);
            QCOMPARE(snapshot.y(i), double(i));
        }
        QCOMPARE(series.y(1), -2.0);
        series.clear();
        QCOMPARE(snapshot.y(9), 9.0);
        QCOMPARE(snapshot.minMax(0, 10).maxAt, std::size_t(9));
    }
    void keepsAscendingXWithEqualXInArrivalOrder()
    {
        PointSeries series;
        // A first run, then a second run restarted at x = 0 without clearing.
        for (const auto &[x, y] : {std::pair{0.0, 1.0},
                                   {1.0, 2.0},
                                   {2.0, 3.0},
                                   {0.0, 10.0},
                                   {1.0, 11.0},
                                   {1.5, 12.0},
                                   {3.0, 13.0},
                                   {1.0, 14.0}})
            series.add(x, y);
        const std::vector<std::pair<double, double>> expected{{0, 1},  {0, 10},   {1, 2}, {1, 11},
                                                              {1, 14}, {1.5, 12}, {2, 3}, {3, 13}};
        QCOMPARE(pointsOf(series), expected);
        QCOMPARE(series.lowerBound(1.0), std::size_t(2));
        QCOMPARE(series.upperBound(1.0), std::size_t(5));
    }

    void holdsEveryValueExactly_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("reading") << double(123.456f);
        QTest::newRow("beyond float mantissa") << 16777217.0;
        QTest::newRow("decimal fraction") << 0.1;
        QTest::newRow("largest level") << double(std::int64_t(INT32_MAX) + INT32_MAX);
        QTest::newRow("beyond float range") << 1e300;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("negative zero") << -0.0;
    }
    void holdsEveryValueExactly()
    {
        QFETCH(double, value);
        PointSeries series;
        series.add(1, 5);
        series.add(3, value);
        series.add(2, value); // inserted in front of the previous one
        series.add(4, value);
        QCOMPARE(series.y(0), 5.0);
        for (std::size_t i : {1, 2, 3}) {
            QCOMPARE(series.y(i), value);
            QCOMPARE(std::signbit(series.y(i)), std::signbit(value));
        }
    }

    void findsExtremesAfterAppendsAndInsertions()
    {
        PointSeries series;
        std::vector<std::pair<double, double>> reference;
        QRandomGenerator random(7);
        auto check = [&] {
            for (int trial = 0; trial < 200; ++trial) {
                const std::size_t from = random.bounded(quint32(series.size()));
                const std::size_t to = from + 1 + random.bounded(quint32(series.size() - from));
                const MinMaxAt found = series.minMax(from, to);
                double min = reference[from].second, max = min;
                for (std::size_t i = from; i < to; ++i) {
                    min = std::min(min, reference[i].second);
                    max = std::max(max, reference[i].second);
                }
                QVERIFY(found.minAt >= from && found.minAt < to && found.maxAt >= from && found.maxAt < to);
                QCOMPARE(series.y(found.minAt), min);
                QCOMPARE(series.y(found.maxAt), max);
            }
        };
        for (int i = 0; i < 300000; ++i)
            series.add(i * 0.005, random.bounded(360.0));
        reference = pointsOf(series);
        check();
        // A second run among the old points moves everything after it.
        for (int i = 0; i < 5000; ++i)
            series.add(i * 0.005, i == 4000 ? 1000.0 : -1.0 - random.bounded(10.0));
        reference = pointsOf(series);
        check();
        for (int i = 300000; i < 310000; ++i)
            series.add(i * 0.005, random.bounded(360.0));
        reference = pointsOf(series);
        check();
    }

    void matchesPlainListAcrossChunks_data()
    {
        QTest::addColumn<int>("chunkCapacity");
        QTest::addColumn<Arrival>("arrival");
        for (const int capacity : {1, 2, 5, 64, 1000}) {
            const QByteArray suffix = " in chunks of " + QByteArray::number(capacity);
            QTest::newRow("restarted run" + suffix) << capacity << Arrival::RestartedRun;
            QTest::newRow("random x with ties" + suffix) << capacity << Arrival::RandomWithTies;
            QTest::newRow("descending x" + suffix) << capacity << Arrival::Descending;
        }
    }
    void matchesPlainListAcrossChunks()
    {
        QFETCH(int, chunkCapacity);
        QFETCH(Arrival, arrival);
        PointSeries series{std::size_t(chunkCapacity)};
        std::vector<std::pair<double, double>> reference;
        QRandomGenerator random(11);
        constexpr int Count = 4000;
        for (int i = 0; i < Count; ++i) {
            double x = 0;
            switch (arrival) {
            case Arrival::RestartedRun:
                x = (i < Count / 2 ? i : i - Count / 2) * 0.025;
                break;
            case Arrival::RandomWithTies:
                x = random.bounded(50);
                break;
            case Arrival::Descending:
                x = (Count - i) * 0.0125;
                break;
            }
            // Few distinct levels, so extremes tie; tenths go to the side table.
            const double y = random.bounded(6) * 0.1 - 0.2;
            series.add(x, y);
            addToReference(reference, x, y);
            if (i == Count / 2 + 100)
                compareWithReference(series, reference, random); // summaries then go stale again
        }
        compareWithReference(series, reference, random);
    }

    void keepsAboutTwelveBytesPerPoint()
    {
        PointSeries series;
        constexpr int Count = 2'000'000;
        for (int i = 0; i < Count; ++i)
            series.add(i * 0.005, float(i % 360));
        series.minMax(0, series.size()); // the summaries count too
        // Twelve bytes a point and the summaries; growth by doubling would leave up to twice that.
        QVERIFY2(double(series.bytesUsed()) / Count < 12.5, QByteArray::number(series.bytesUsed()));
    }

    void clearEmptiesAndStartsAfresh()
    {
        PointSeries series;
        for (int i = 0; i < 10000; ++i)
            series.add(i, i);
        series.clear();
        QVERIFY(series.empty());
        series.add(5, 7);
        series.add(6, 1);
        QCOMPARE(series.size(), std::size_t(2));
        QCOMPARE(series.minMax(0, 2).minAt, std::size_t(1));
        QCOMPARE(series.minMax(0, 2).maxAt, std::size_t(0));
    }

    void appendsSamplePoints()
    {
        ChartData chart;
        ChartSample first = sampleAt(0.5, 100.25f, 0, 1);
        first.active[1] = false;
        appendSamplePoints(chart, first);
        appendSamplePoints(chart, sampleAt(1.0, 200.5f, 1, 0));

        QCOMPARE(pointsOf(chart.series(0)), (std::vector<std::pair<double, double>>{{0.5, 100.25}, {1.0, 200.5}}));
        // An inactive channel gets no point while the output lines still do.
        QCOMPARE(pointsOf(chart.series(1)), (std::vector<std::pair<double, double>>{{1.0, 201.5}}));
        QCOMPARE(pointsOf(chart.series(2)), (std::vector<std::pair<double, double>>{{0.5, 102.25}, {1.0, 202.5}}));
        QCOMPARE(pointsOf(chart.series(3)), (std::vector<std::pair<double, double>>{{0.5, 0}, {1.0, 50}}));
        QCOMPARE(pointsOf(chart.series(4)), (std::vector<std::pair<double, double>>{{0.5, 125}, {1.0, 75}}));

        chart.clear();
        for (int i = 0; i < ChartData::SeriesCount; ++i)
            QVERIFY(chart.series(i).empty());
    }

    void outputLevelDoesNotOverflow_data()
    {
        QTest::addColumn<int>("H");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("F");
        QTest::addColumn<qint64>("level");
        QTest::newRow("off") << 50 << 0 << 75 << qint64(75);
        QTest::newRow("on") << 50 << 1 << 75 << qint64(125);
        QTest::newRow("largest") << INT32_MAX << 1 << INT32_MAX << qint64(4294967294LL);
        QTest::newRow("smallest") << INT32_MIN << 1 << INT32_MIN << qint64(-4294967296LL);
        QTest::newRow("negative height") << -50 << 1 << 300 << qint64(250);
    }
    void outputLevelDoesNotOverflow()
    {
        QFETCH(int, H);
        QFETCH(int, state);
        QFETCH(int, F);
        QFETCH(qint64, level);
        QCOMPARE(outputLineLevel(H, std::uint8_t(state), F), level);

        ChartData chart;
        ChartSample sample = sampleAt(0, 0, std::uint8_t(state), std::uint8_t(state));
        sample.H1 = sample.H2 = H;
        sample.F1 = sample.F2 = F;
        appendSamplePoints(chart, sample);
        QCOMPARE(chart.series(3).y(0), double(level));
        QCOMPARE(chart.series(4).y(0), double(level));
    }
};

QTEST_GUILESS_MAIN(TestChartStore)
#include "tst_chartstore.moc"

#include "ChartPaging.h"

#include <QTest>

namespace {
// Series i gets counts[i] points at x = steps[i] · position.
void fill(ChartData &chart, const QList<int> &counts, const QList<double> &steps)
{
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        for (int p = 0; p < counts[i]; ++p)
            chart.series(i).add(steps[i] * p, 100);
    }
}

ShownSeries shownFrom(const QString &mask)
{
    ShownSeries shown{};
    for (int i = 0; i < ChartData::SeriesCount; ++i)
        shown[std::size_t(i)] = mask[i] == u'1';
    return shown;
}
} // namespace

class TestPaging : public QObject {
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QList<double>>("steps");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("requested");
        QTest::addColumn<QString>("indicator");
        QTest::addColumn<bool>("hasAxis");
        QTest::addColumn<double>("axisMin");
        QTest::addColumn<double>("axisMax");

        const QList<int> samples25{25, 25, 25, 25, 25};
        const QList<double> seconds{1, 1, 1, 1, 1};
        QTest::newRow("last of three pages is stretched")
            << samples25 << seconds << "11111" << 10 << 3 << "Page 3 of 3" << true << 20.0 << 28.0;
        QTest::newRow("a full page spans its points")
            << samples25 << seconds << "11111" << 10 << 2 << "Page 2 of 3" << true << 10.0 << 19.0;
        QTest::newRow("beyond the count selects the last page")
            << samples25 << seconds << "11111" << 10 << 99 << "Page 3 of 3" << true << 20.0 << 28.0;
        QTest::newRow("page 0 selects the first page")
            << samples25 << seconds << "11111" << 10 << 0 << "Page 1 of 3" << true << 0.0 << 9.0;
        QTest::newRow("paging off shows everything on page 1")
            << samples25 << seconds << "11111" << 0 << 3 << "Page 1 of 1" << false << 0.0 << 0.0;
        QTest::newRow("a hidden series no longer counts")
            << QList<int>{25, 12, 12, 12, 12} << seconds << "01111" << 10 << 3 << "Page 2 of 2" << true << 10.0 << 15.0;
        QTest::newRow("a hidden series does not bound the axis")
            << QList<int>{25, 12, 12, 12, 12} << QList<double>{1, 3, 1, 1, 1} << "10111" << 10 << 2 << "Page 2 of 3"
            << true << 10.0 << 19.0;
        QTest::newRow("series of different x: smallest first to largest last")
            << QList<int>{25, 0, 0, 30, 30} << QList<double>{1, 1, 1, 0.5, 0.5} << "11111" << 10 << 2 << "Page 2 of 3"
            << true << 5.0 << 19.0;
        QTest::newRow("the longest slice decides whether a page is full")
            << QList<int>{25, 0, 0, 30, 30} << QList<double>{1, 1, 1, 0.5, 0.5} << "11111" << 10 << 3 << "Page 3 of 3"
            << true << 10.0 << 24.0;
        QTest::newRow("nothing shown has a point")
            << samples25 << seconds << "00000" << 10 << 2 << "Page 1 of 1" << false << 0.0 << 0.0;
        QTest::newRow("an empty chart") << QList<int>{0, 0, 0, 0, 0} << seconds << "11111" << 10 << 1 << "Page 1 of 1"
                                        << false << 0.0 << 0.0;
        QTest::newRow("a lone point gets an axis of unit width")
            << QList<int>{11, 11, 11, 11, 11} << seconds << "11111" << 10 << 2 << "Page 2 of 2" << true << 9.5 << 10.5;
    }
    void pages()
    {
        QFETCH(QList<int>, counts);
        QFETCH(QList<double>, steps);
        QFETCH(QString, shown);
        QFETCH(int, perPage);
        QFETCH(int, requested);
        QFETCH(QString, indicator);
        QFETCH(bool, hasAxis);

        ChartData chart;
        fill(chart, counts, steps);
        ChartPaging paging;
        paging.setPerPage(perPage, chart, shownFrom(shown));
        paging.selectPage(requested, chart, shownFrom(shown));
        QCOMPARE(paging.indicatorText(chart, shownFrom(shown)), indicator);

        const std::optional<AxisRange> axis = paging.axisRange(chart, shownFrom(shown));
        QCOMPARE(axis.has_value(), hasAxis);
        if (hasAxis) {
            QTEST(axis->min, "axisMin");
            QTEST(axis->max, "axisMax");
        }
    }

    void slicesByPositions_data()
    {
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("full page") << 10 << 2 << 25 << 10 << 20;
        QTest::newRow("partly filled page") << 10 << 3 << 25 << 20 << 25;
        QTest::newRow("series shorter than the page start") << 10 << 3 << 12 << 12 << 12;
        QTest::newRow("paging off") << 0 << 1 << 25 << 0 << 25;
    }
    void slicesByPositions()
    {
        QFETCH(int, perPage);
        QFETCH(int, page);
        QFETCH(int, count);
        ChartData chart;
        fill(chart, {25, 25, 25, 25, 25}, {1, 1, 1, 1, 1});
        const ShownSeries all{true, true, true, true, true};
        ChartPaging paging;
        paging.setPerPage(perPage, chart, all);
        paging.selectPage(page, chart, all);
        const PageSlice slice = paging.slice(std::size_t(count));
        QTEST(int(slice.from), "from");
        QTEST(int(slice.to), "to");
    }

    void changingPerPageKeepsThePageWithinTheCount()
    {
        ChartData chart;
        fill(chart, {25, 25, 25, 25, 25}, {1, 1, 1, 1, 1});
        const ShownSeries all{true, true, true, true, true};
        ChartPaging paging;
        paging.setPerPage(10, chart, all);
        paging.selectPage(3, chart, all);
        paging.setPerPage(20, chart, all);
        QCOMPARE(paging.page(), 2);
        QCOMPARE(paging.pageCount(chart, all), 2);
        paging.setPerPage(5, chart, all);
        QCOMPARE(paging.page(), 2);
        QCOMPARE(paging.pageCount(chart, all), 5);
        paging.setPerPage(0, chart, all);
        QCOMPARE(paging.page(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPaging)
#include "tst_paging.moc"

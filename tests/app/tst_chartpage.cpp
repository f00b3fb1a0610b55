// The chart page: recording, paging, zoom and drawing long runs.
#include "ChartPageFixture.h"

#include <QtTest>
#include <cmath>

class ChartPageTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void recording_data();
    void recording();
    void paging_data();
    void paging();
    void pagingOffReturnsToFirstPage();
    void perPageChangeWhileUncheckedSwitchesPagingOn();
    void hiddenSeriesNoLongerCounts();
    void dragZoomsAndFullViewReturns();
    void followLastPage_data();
    void followLastPage();
    void shownWindowStartsPagingAsStored();
    void longRecordingDrawsFewPoints();
    void hiddenChartPaintedWhenShown();
    void framesDrawOnlyWhatArrived_data();
    void framesDrawOnlyWhatArrived();
};

// Script: R record, P pause, S stop, C clear (the buttons), a a sample.
void ChartPageTest::recording_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<bool>>("active");
    QTest::addColumn<QList<double>>("pkXs");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("restarts");
    QTest::addColumn<bool>("recordingAfter");

    const QList<bool> all{true, true, true};
    QTest::newRow("nothing while not recording")
        << "aaa" << all << QList<double>{} << QList<int>{0, 0, 0, 0, 0} << 0 << false;
    QTest::newRow("record appends from time 0")
        << "aaRaaa" << all << QList<double>{0, 1, 2} << QList<int>{3, 3, 3, 3, 3} << 1 << true;
    QTest::newRow("inactive channel gets none, PK lines do")
        << "Raa" << QList<bool>{true, false, true} << QList<double>{0, 1} << QList<int>{2, 0, 2, 2, 2} << 1 << true;
    QTest::newRow("no channel active") << "Ra" << QList<bool>{false, false, false} << QList<double>{0}
                                       << QList<int>{0, 0, 0, 1, 1} << 1 << true;
    QTest::newRow("pause twice resumes after the paused time")
        << "RaaPaaaPa" << all << QList<double>{0, 1, 5} << QList<int>{3, 3, 3, 3, 3} << 1 << true;
    QTest::newRow("pause while stopped plots without clearing or restarting")
        << "aaPa" << all << QList<double>{2} << QList<int>{1, 1, 1, 1, 1} << 0 << true;
    QTest::newRow("stop clears and restarts the time")
        << "RaaSa" << all << QList<double>{} << QList<int>{0, 0, 0, 0, 0} << 2 << false;
    QTest::newRow("stop then record starts empty from 0")
        << "RaaaSaRaa" << all << QList<double>{0, 1} << QList<int>{2, 2, 2, 2, 2} << 3 << true;
    QTest::newRow("clear keeps recording and the time")
        << "RaaCa" << all << QList<double>{2} << QList<int>{1, 1, 1, 1, 1} << 1 << true;
}

void ChartPageTest::recording()
{
    QFETCH(QString, script);
    QFETCH(QList<bool>, active);
    QFETCH(QList<double>, pkXs);
    QFETCH(QList<int>, counts);
    QFETCH(int, restarts);
    QFETCH(bool, recordingAfter);

    Fixture f;
    f.active = {active[0], active[1], active[2]};
    const QHash<QChar, const char *> buttons{
        {'R', "SpeedButton15"}, {'P', "SpeedButton16"}, {'S', "SpeedButton19"}, {'C', "SpeedButton17"}};
    for (QChar step : script) {
        if (step == 'a')
            f.sample();
        else
            f.child<QToolButton>(buttons.value(step))->click();
    }
    QCOMPARE(xsOf(f.session.chart().series(3)), pkXs);
    QCOMPARE(xsOf(f.session.chart().series(4)), pkXs);
    QList<int> got;
    for (int i = 0; i < ChartData::SeriesCount; ++i)
        got << int(f.session.chart().series(i).size());
    QCOMPARE(got, counts);
    QCOMPARE(f.restarts, restarts);
    QCOMPARE(f.session.recording(), recordingAfter);
    if (counts[0] > 0)
        QCOMPARE(f.session.chart().series(0).y(0), 10.5);
}

// Samples at x = 0, 1, 2, …; action: last / first / next (the indicator's right arrow) / none.
void ChartPageTest::paging_data()
{
    QTest::addColumn<bool>("pagingOn");
    QTest::addColumn<int>("perPage");
    QTest::addColumn<int>("sampleCount");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");

    QTest::newRow("last page stretched to a full page's scale") << true << 10 << 25 << "last"
                                                                << "Page 3 of 3" << 20.0 << 28.0;
    QTest::newRow("first page") << true << 10 << 25 << "first"
                                << "Page 1 of 3" << 0.0 << 9.0;
    QTest::newRow("next page by the indicator's arrow") << true << 10 << 25 << "next"
                                                        << "Page 2 of 3" << 10.0 << 19.0;
    QTest::newRow("full last page is not stretched") << true << 10 << 20 << "last"
                                                     << "Page 2 of 2" << 10.0 << 19.0;
    QTest::newRow("one point on the last page") << true << 12 << 25 << "last"
                                                << "Page 3 of 3" << 23.5 << 24.5;
    QTest::newRow("paging off shows everything") << false << 10 << 25 << "last"
                                                 << "Page 1 of 1" << 0.0 << 24.0;
    QTest::newRow("empty chart") << true << 10 << 0 << "last"
                                 << "Page 1 of 1" << 0.0 << 1.0;
}

void ChartPageTest::paging()
{
    QFETCH(bool, pagingOn);
    QFETCH(int, perPage);
    QFETCH(int, sampleCount);
    QFETCH(QString, action);
    QFETCH(QString, indicator);
    QFETCH(double, xMin);
    QFETCH(double, xMax);

    Fixture f;
    f.child<QSpinBox>("CSpinEdit1")->setValue(perPage);
    f.child<QCheckBox>("CheckBox17")->setChecked(pagingOn);
    f.page.SpeedButton15Click();
    f.samples(sampleCount);
    if (action == "last")
        f.child<QToolButton>("SpeedButton13")->click();
    else if (action == "first")
        f.child<QToolButton>("SpeedButton14")->click();
    else
        f.child<QToolButton>("ChartTool1Right")->click();

    QTRY_COMPARE(f.indicator(), indicator);
    QTRY_VERIFY2(rangeIs(f.xRange(), xMin, xMax),
                 qPrintable(QStringLiteral("%1..%2").arg(f.xRange().lower).arg(f.xRange().upper)));
    QCOMPARE(f.plot()->yAxis->range().lower, 0.0);
    QVERIFY(f.plot()->yAxis->range().upper > 360.0);
}

void ChartPageTest::pagingOffReturnsToFirstPage()
{
    Fixture f;
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    f.child<QCheckBox>("CheckBox17")->setChecked(true);
    f.page.SpeedButton15Click();
    f.samples(25);
    f.page.SpeedButton13Click();
    QTRY_COMPARE(f.indicator(), QStringLiteral("Page 3 of 3"));

    f.child<QCheckBox>("CheckBox17")->setChecked(false);
    QCOMPARE(f.page.paging().page(), 1);
    QCOMPARE(f.page.paging().perPage(), 0);
    QTRY_COMPARE(f.indicator(), QStringLiteral("Page 1 of 1"));
    QTRY_VERIFY(rangeIs(f.xRange(), 0, 24));
    QCOMPARE(f.drawn(0).size(), std::size_t(25));
}

void ChartPageTest::perPageChangeWhileUncheckedSwitchesPagingOn()
{
    Fixture f;
    f.page.SpeedButton15Click();
    f.samples(25);
    QTRY_COMPARE(f.indicator(), QStringLiteral("Page 1 of 1"));

    f.child<QSpinBox>("CSpinEdit1")->stepUp();
    QVERIFY(!f.child<QCheckBox>("CheckBox17")->isChecked());
    QCOMPARE(f.page.paging().perPage(), 11);
    QTRY_COMPARE(f.indicator(), QStringLiteral("Page 1 of 3"));
    QTRY_VERIFY(rangeIs(f.xRange(), 0, 10));
}

void ChartPageTest::hiddenSeriesNoLongerCounts()
{
    Fixture f;
    f.page.resize(900, 500);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    f.child<QCheckBox>("CheckBox17")->setChecked(true);
    f.page.SpeedButton15Click();
    f.samples(12);
    f.active = {false, true, true};
    f.samples(13);
    QTRY_COMPARE(f.indicator(), QStringLiteral("Page 1 of 3"));

    // Hide every line but "Czujnik 0" (12 points) by a click on its legend check box.
    QCustomPlot *plot = f.plot();
    plot->replot();
    for (int i = 1; i < ChartData::SeriesCount; ++i) {
        QCPAbstractLegendItem *item = plot->legend->itemWithPlottable(plot->graph(i));
        QTest::mouseClick(plot, Qt::LeftButton, {}, item->rect().center());
    }
    for (int i = 1; i < ChartData::SeriesCount; ++i)
        QVERIFY2(!plot->graph(i)->visible(), qPrintable(plot->graph(i)->name()));
    QTRY_COMPARE(f.indicator(), QStringLiteral("Page 1 of 2"));
    QCOMPARE(f.session.chart().series(3).size(), std::size_t(25)); // its points stay

    f.page.SpeedButton13Click();
    QCOMPARE(f.page.paging().page(), 2);
}

void ChartPageTest::dragZoomsAndFullViewReturns()
{
    Fixture f;
    f.page.resize(900, 500);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    f.page.SpeedButton15Click();
    f.samples(100);
    QTRY_VERIFY(rangeIs(f.xRange(), 0, 99));
    QCustomPlot *plot = f.plot();
    plot->replot();
    const QPoint start = plot->axisRect()->rect().center() - QPoint(100, 50);

    const auto drag = [&](QPoint by) {
        QTest::mousePress(plot, Qt::LeftButton, {}, start);
        QTest::mouseMove(plot, start + by / 2);
        QTest::mouseMove(plot, start + by);
        QTest::mouseRelease(plot, Qt::LeftButton, {}, start + by);
    };
    drag(QPoint(8, 40)); // too narrow: ignored
    QTest::qWait(100);
    QVERIFY(rangeIs(f.xRange(), 0, 99));

    drag(QPoint(200, 100));
    QTRY_VERIFY(f.xRange().size() < 50 && plot->yAxis->range().size() < 200);
    QVERIFY(f.plot()->graph(3)->visible()); // the press started a zoom, not a legend click

    f.page.SpeedButton20Click();
    QVERIFY(rangeIs(f.xRange(), 0, 99));
    QCOMPARE(plot->yAxis->range().lower, 0.0);
}

void ChartPageTest::followLastPage_data()
{
    QTest::addColumn<bool>("recording");
    QTest::addColumn<bool>("follow");
    QTest::addColumn<bool>("pagingOn");
    QTest::addColumn<int>("page");

    QTest::newRow("recording and following") << true << true << true << 3;
    QTest::newRow("paused") << false << true << true << 1;
    QTest::newRow("not following") << true << false << true << 1;
    QTest::newRow("paging off") << true << true << false << 1;
}

void ChartPageTest::followLastPage()
{
    QFETCH(bool, recording);
    QFETCH(bool, follow);
    QFETCH(bool, pagingOn);
    QFETCH(int, page);

    Fixture f;
    f.child<QCheckBox>("CheckBox17")->setChecked(pagingOn);
    f.child<QCheckBox>("CheckBox19")->setChecked(follow);
    f.page.SpeedButton15Click();
    f.samples(25);
    if (!recording)
        f.page.SpeedButton16Click();
    f.page.followLastPage();
    QCOMPARE(f.page.paging().page(), page);
}

void ChartPageTest::shownWindowStartsPagingAsStored()
{
    Fixture f;
    Settings settings;
    settings.paging.enabled = true;
    settings.paging.followLastPage = true;
    settings.paging.pointsPerPage = 20;
    f.page.applySettings(settings);
    f.page.resetPaging();
    QCOMPARE(f.page.paging().perPage(), 0);

    f.child<QCheckBox>("CheckBox17")->setChecked(true);
    f.page.FormShow();
    QCOMPARE(f.page.paging().perPage(), 20);

    Settings stored;
    f.page.storeSettings(stored);
    QCOMPARE(stored.paging, settings.paging);
}

void ChartPageTest::longRecordingDrawsFewPoints()
{
    Fixture f;
    f.page.resize(900, 500);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    f.page.SpeedButton15Click();
    for (int i = 0; i < 200000; ++i) {
        Sample s;
        s.time = i * 0.01;
        s.value = {float(i % 360), float((i * 7) % 360), float((i / 3) % 360)};
        s.pk1 = (i / 50) % 2;
        s.pk2 = (i / 70) % 2;
        f.session.takeSample(s);
    }
    QElapsedTimer clock;
    clock.start();
    f.page.SpeedButton20Click();
    f.plot()->replot();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        const std::size_t drawn = f.drawn(i).size();
        QVERIFY2(drawn > 0 && drawn <= 8000, qPrintable(QString::number(drawn)));
    }
    QCOMPARE(f.drawn(0).front().x, 0.0);
    QCOMPARE(f.drawn(0).back().x, 199999 * 0.01);
}

// A chart nobody sees is not painted while it records; shown, it is painted with every point
// taken meanwhile.
void ChartPageTest::hiddenChartPaintedWhenShown()
{
    Fixture f;
    f.page.SpeedButton15Click();
    QTest::qWait(100); // what the page's construction queued
    int replots = 0;
    connect(f.plot(), &QCustomPlot::afterReplot, this, [&] { ++replots; });
    f.samples(30);
    QTest::qWait(150);
    QCOMPARE(replots, 0);

    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    QTRY_VERIFY(replots > 0);
    QCOMPARE(f.drawn(0).size(), std::size_t(30));
    QTRY_VERIFY(rangeIs(f.xRange(), 0, 29));
}

namespace {
/// A noisy sample at x = i · 0.01 s, its output lines switching now and then.
Sample noisySample(int i)
{
    Sample s;
    s.time = i * 0.01;
    s.value = {float(180 + 170 * std::sin(i * 0.001) + (i * 7919 % 101) * 0.3), float((i * 7) % 360),
               float(200 + 100 * std::cos(i * 0.0003))};
    s.present = {true, true, true};
    s.pk1 = (i / 700) % 2;
    s.pk2 = (i / 1100) % 2;
    return s;
}

/// Clicks the legend's check box of a line.
void toggle(QCustomPlot *plot, int series)
{
    const QCPAbstractLegendItem *item = plot->legend->itemWithPlottable(plot->graph(series));
    QTest::mouseClick(plot, Qt::LeftButton, {}, item->rect().center());
}
} // namespace

void ChartPageTest::framesDrawOnlyWhatArrived_data()
{
    QTest::addColumn<bool>("zoomed");
    QTest::addColumn<bool>("sensorInactive"); // its line shown in the legend, without points
    QTest::newRow("full view") << false << false;
    QTest::newRow("zoomed, new points beyond the view") << true << false;
    QTest::newRow("full view, a sensor inactive") << false << true;
}

// Frames that only add points draw only their columns onto the kept picture, and that
// picture is the one drawn whole from the same points.
void ChartPageTest::framesDrawOnlyWhatArrived()
{
    QFETCH(bool, zoomed);
    QFETCH(bool, sensorInactive);
    Fixture f;
    f.session.setActiveChannels({true, !sensorInactive, true});
    f.page.resize(900, 500);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    f.page.SpeedButton15Click();
    // Up to x = 998.01 s: the full view's axis runs to 1000 s and has room for what follows.
    int i = 0;
    for (; i <= 99801; ++i)
        f.session.takeSample(noisySample(i));
    QCustomPlot *plot = f.plot();
    QTRY_VERIFY(rangeIs(f.xRange(), 0, 1000));
    if (zoomed) {
        const QRect area = plot->axisRect()->rect();
        const QPoint from = area.center() + QPoint(area.width() / 8, -100);
        QTest::mousePress(plot, Qt::LeftButton, {}, from);
        QTest::mouseMove(plot, from + QPoint(100, 200));
        QTest::mouseRelease(plot, Qt::LeftButton, {}, from + QPoint(100, 200));
        QTRY_VERIFY(f.xRange().size() < 500);
        QTest::qWait(600); // the zoom's animation ends
    }
    QTest::qWait(100);
    const QCPRange axis = f.xRange();
    int wholeReplots = 0;
    connect(plot, &QCustomPlot::afterReplot, this, [&] { ++wholeReplots; });
    for (int frame = 0; frame < 5; ++frame) {
        const std::size_t before = f.drawn(0).size();
        for (int k = 0; k < 30; ++k, ++i)
            f.session.takeSample(noisySample(i));
        QTRY_VERIFY(f.drawn(0).size() != before || f.drawn(0).back().x >= (i - 1) * 0.01);
        QTest::qWait(60);
    }
    QCOMPARE(wholeReplots, 0); // the axes stayed and only the new columns were drawn
    QCOMPARE(f.xRange(), axis);
    const QImage kept = plot->toPixmap().toImage();

    // A line hidden and shown again draws the picture whole.
    toggle(plot, 4);
    QTRY_COMPARE(wholeReplots, 1);
    toggle(plot, 4);
    QTRY_COMPARE(wholeReplots, 2);
    QTest::qWait(100);
    const QImage whole = plot->toPixmap().toImage();
    QCOMPARE(kept.size(), whole.size());
    int differing = 0;
    for (int y = 0; y < kept.height(); ++y)
        for (int x = 0; x < kept.width(); ++x)
            differing += kept.pixel(x, y) != whole.pixel(x, y);
    QCOMPARE(differing, 0);
}

QTEST_MAIN(ChartPageTest)
#include "tst_chartpage.moc"

#include "AcquisitionPacer.h"

#include <QtTest>
#include <deque>

namespace {

/// A clock that returns the hundredths it is given, each reading once; the idle pass
/// reads it twice, so each step is given as a pair.
struct ScriptedClock {
    std::deque<int> hundredths;
    TimeOfDay operator()()
    {
        TimeOfDay t;
        if (!hundredths.empty()) {
            t.hundredths = uint8_t(hundredths.front());
            hundredths.pop_front();
        }
        return t;
    }
};

/// Passes at the given hundredths (each read twice, as the pass reads the clock twice).
struct Pacing {
    std::shared_ptr<ScriptedClock> clock = std::make_shared<ScriptedClock>();
    AcquisitionPacer pacer{[c = clock] { return (*c)(); }};

    bool pass(int hundredths, bool continuous = false, int periodMs = 100, int32_t deviceType = 3)
    {
        clock->hundredths = {hundredths, hundredths};
        return pacer.idlePass(continuous, periodMs, deviceType);
    }
};

} // namespace

class PacerTest : public QObject {
    Q_OBJECT

private slots:
    void idleStepFromHundredths_data();
    void idleStepFromHundredths();
    void timedSendsOncePerPeriod();
    void continuousRepeatsAfterTimeout();
    void answerLetsTheNextRequestGo();
    void nothingWithoutDevice();
    void pauseTwiceContinuesTime();
    void stopLeavesTheOutstandingRequest();
};

void PacerTest::idleStepFromHundredths_data()
{
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("now");
    QTest::addColumn<double>("step");
    QTest::newRow("forward") << 10 << 25 << 0.15;
    QTest::newRow("across the second") << 95 << 3 << 0.08;
    QTest::newRow("1.30 s apart loses the second") << 10 << 40 << 0.30;
    QTest::newRow("same hundredth") << 42 << 42 << 0.0;
}

void PacerTest::idleStepFromHundredths()
{
    QFETCH(int, previous);
    QFETCH(int, now);
    QFETCH(double, step);
    Pacing p;
    p.pass(previous);
    p.pass(now);
    QVERIFY(qAbs(p.pacer.state().idleStep - step) < 1e-9);
}

void PacerTest::timedSendsOncePerPeriod()
{
    Pacing p;
    p.pass(0);
    p.pacer.start();
    p.pacer.state().bledna_transmisja = 1;
    QVERIFY(p.pass(5)); // the first request leaves at the first pass
    QCOMPARE(p.pacer.state().bledna_transmisja, 0);
    QVERIFY(!p.pass(10)); // 50 ms
    QVERIFY(!p.pass(14)); // 90 ms
    QVERIFY(p.pass(15));  // 100 ms
    QVERIFY(!p.pass(21)); // 60 ms into the next period
    QVERIFY(p.pass(27));  // 120 ms: the overshoot is not carried over
    QVERIFY(!p.pass(36)); // 90 ms after that request
    QVERIFY(qAbs(p.pacer.state().measTime - 0.36) < 1e-9);
}

void PacerTest::continuousRepeatsAfterTimeout()
{
    Pacing p;
    p.pass(0);
    p.pacer.start();
    QVERIFY(p.pass(2, true));
    QVERIFY(p.pacer.state().zapytanie);
    QVERIFY(!p.pass(4, true));
    QVERIFY(!p.pass(6, true));
    QCOMPARE(p.pacer.state().bledna_transmisja, 0);
    QVERIFY(!p.pass(8, true)); // 0.06 s without an answer
    QCOMPARE(p.pacer.state().bledna_transmisja, 1);
    QVERIFY(!p.pacer.state().zapytanie);
    QVERIFY(p.pass(9, true));                       // repeated at the following pass
    QCOMPARE(p.pacer.state().bledna_transmisja, 1); // only a timed request clears it
}

void PacerTest::answerLetsTheNextRequestGo()
{
    Pacing p;
    p.pass(0);
    p.pacer.start();
    QVERIFY(p.pass(1, true));
    QVERIFY(!p.pass(2, true));
    p.pacer.state().zapytanie = false; // the measurement frame arrived
    QVERIFY(p.pass(3, true));
}

void PacerTest::nothingWithoutDevice()
{
    Pacing p;
    p.pass(0);
    p.pacer.start();
    QVERIFY(!p.pass(50, false, 100, 0));
    QVERIFY(!p.pass(90, true, 100, 0));
    QCOMPARE(p.pacer.state().measTime, 0.0);
}

void PacerTest::pauseTwiceContinuesTime()
{
    Pacing p;
    p.pass(0);
    p.pacer.start();
    p.pass(30);
    p.pacer.pause();
    QVERIFY(!p.pacer.state().GO);
    QVERIFY(!p.pass(80));
    p.pacer.pause();
    QVERIFY(p.pacer.state().GO);
    p.pass(90);
    QVERIFY(qAbs(p.pacer.state().measTime - 0.40) < 1e-9);
}

void PacerTest::stopLeavesTheOutstandingRequest()
{
    Pacing p;
    p.pass(0);
    p.pacer.start();
    QVERIFY(p.pass(1, true));
    p.pacer.stop();
    QVERIFY(p.pacer.state().zapytanie);
    QCOMPARE(p.pacer.state().measTime, 0.0);
    p.pacer.start();
    QVERIFY(!p.pass(2, true)); // the remaining time-out is waited out first
    QVERIFY(!p.pass(10, true));
    QCOMPARE(p.pacer.state().bledna_transmisja, 1);
    QVERIFY(p.pass(11, true));
}

QTEST_APPLESS_MAIN(PacerTest)
#include "tst_pacer.moc"

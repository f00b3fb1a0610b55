#include "AcquisitionPacer.h"

#include <QtTest>
#include <cmath>
#include <vector>

namespace {

/// A clock that stands still until the test moves it, and a wake-up timer that only
/// remembers what it was asked for: passes happen exactly when the test makes them.
struct Pacing {
    double now = 1000.0; // far from the clock's origin, as a machine's monotonic clock is
    double wakeAt = -1;  ///< when the pacer wants its next pass; negative for never
    AcquisitionPacer pacer{[this] { return now; },
                           [this](double seconds) { wakeAt = seconds < 0 ? -1 : now + seconds; }};

    bool passAt(double seconds, bool continuous = false, int periodMs = 100, int32_t deviceType = 3)
    {
        now = 1000.0 + seconds;
        return pacer.idlePass(continuous, periodMs, deviceType);
    }

    /// Lets time run to the armed wake-up and makes the pass it asked for: no other event.
    bool wakeUp(bool continuous, int periodMs = 100)
    {
        if (wakeAt < 0)
            qFatal("no wake-up armed");
        now = wakeAt;
        return pacer.idlePass(continuous, periodMs, 3);
    }
};

} // namespace

class PacerTest : public QObject {
    Q_OBJECT

private slots:
    void idleStepFromTheMonotonicClock_data();
    void idleStepFromTheMonotonicClock();
    void timedSendsOncePerPeriod();
    void earlyRequestKeepsThePeriod();
    void timedPacesOnItsOwnWakeUps_data();
    void timedPacesOnItsOwnWakeUps();
    void continuousSendsOnTheFramesHandOff();
    void continuousTimeOutWakesAndRepeats();
    void stoppedAsksForNoWakeUp();
    void nothingWithoutDevice();
    void pauseTwiceContinuesTime();
    void continuedRunStartsFromItsTime();
    void stopLeavesTheOutstandingRequest();
};

void PacerTest::idleStepFromTheMonotonicClock_data()
{
    QTest::addColumn<double>("previous");
    QTest::addColumn<double>("now");
    QTest::addColumn<double>("step");
    QTest::newRow("forward") << 0.10 << 0.25 << 0.15;
    QTest::newRow("across a second") << 0.95 << 1.03 << 0.08;
    QTest::newRow("whole seconds are counted") << 0.10 << 1.40 << 1.30;
    QTest::newRow("a millisecond apart") << 0.500 << 0.501 << 0.001;
    QTest::newRow("same instant") << 0.42 << 0.42 << 0.0;
}

void PacerTest::idleStepFromTheMonotonicClock()
{
    QFETCH(double, previous);
    QFETCH(double, now);
    QFETCH(double, step);
    Pacing p;
    p.passAt(previous);
    p.passAt(now);
    QVERIFY2(std::abs(p.pacer.state().idleStep - step) < 1e-9, qPrintable(QString::number(p.pacer.state().idleStep)));
}

void PacerTest::timedSendsOncePerPeriod()
{
    Pacing p;
    p.passAt(0);
    p.pacer.start();
    p.pacer.state().bledna_transmisja = 1;
    QVERIFY(p.passAt(0.05)); // the first request leaves at the first pass
    QCOMPARE(p.pacer.state().bledna_transmisja, 0);
    QVERIFY(!p.passAt(0.10));  // 50 ms
    QVERIFY(!p.passAt(0.144)); // 94 ms: still more than 5 ms to go
    QVERIFY(p.passAt(0.146));  // 96 ms: within 5 ms of the period
    QVERIFY(!p.passAt(0.206)); // 60 ms into the next period
    QVERIFY(p.passAt(0.266));  // 120 ms: the overshoot is not carried over
    QVERIFY(!p.passAt(0.356)); // 90 ms after that request
    QVERIFY(std::abs(p.pacer.state().measTime - 0.356) < 1e-9);
}

void PacerTest::earlyRequestKeepsThePeriod()
{
    Pacing p;
    p.passAt(0);
    p.pacer.start();
    QVERIFY(p.passAt(0.010, false, 10)); // the first request
    QVERIFY(p.passAt(0.016, false, 10)); // 4 ms early for a 10 ms period: within the tolerance
    // The 4 ms left are kept: the next request is due 14 ms later (0.030), not 10 (0.026).
    QVERIFY(!p.passAt(0.024, false, 10));
    QVERIFY(p.passAt(0.026, false, 10));
    QVERIFY(!p.passAt(0.030, false, 10)); // carried only once: 4 ms after that request
}

void PacerTest::timedPacesOnItsOwnWakeUps_data()
{
    QTest::addColumn<int>("periodMs");
    QTest::newRow("10 ms") << 10;
    QTest::newRow("20 ms") << 20;
    QTest::newRow("100 ms") << 100;
}

void PacerTest::timedPacesOnItsOwnWakeUps()
{
    QFETCH(int, periodMs);
    Pacing p;
    p.pacer.start();
    QCOMPARE(p.wakeAt, p.now); // the first pass is wanted at once
    std::vector<double> sentAt;
    for (int pass = 0; pass < 50; ++pass)
        if (p.wakeUp(false, periodMs))
            sentAt.push_back(p.now);
    QCOMPARE(int(sentAt.size()), 50); // every wake-up is one request: no pass wasted
    for (size_t i = 1; i < sentAt.size(); ++i)
        QVERIFY2(std::abs(sentAt[i] - sentAt[i - 1] - periodMs * 0.001) < 1e-9, qPrintable(QString::number(i)));
}

void PacerTest::continuousSendsOnTheFramesHandOff()
{
    Pacing p;
    p.pacer.start();
    QVERIFY(p.wakeUp(true));
    QVERIFY(p.pacer.state().zapytanie);
    QCOMPARE(p.wakeAt, p.now + double(0.05f)); // woken for the time-out only
    p.now += 0.004;                            // the frame arrives
    QVERIFY(p.pacer.frameHandled(true, 100, 3));
    QVERIFY(p.pacer.state().zapytanie); // the next one is outstanding
    QCOMPARE(p.pacer.state().replyTimeout, 0.05f);
    QVERIFY(std::abs(p.pacer.state().measTime - 0.004) < 1e-9);
    QCOMPARE(p.pacer.state().bledna_transmisja, 0);

    // In timed mode a frame releases nothing: the period decides.
    Pacing timed;
    timed.pacer.start();
    QVERIFY(timed.wakeUp(false, 10));
    timed.now += 0.004;
    QVERIFY(!timed.pacer.frameHandled(false, 10, 3));
    QVERIFY(!timed.pacer.state().zapytanie);
}

void PacerTest::continuousTimeOutWakesAndRepeats()
{
    Pacing p;
    p.pacer.start();
    QVERIFY(p.wakeUp(true));
    QVERIFY(!p.passAt(p.now - 1000.0 + 0.02, true)); // some other event: still waiting
    QCOMPARE(p.pacer.state().bledna_transmisja, 0);
    QVERIFY(!p.wakeUp(true)); // the time-out's own wake-up
    QCOMPARE(p.pacer.state().bledna_transmisja, 1);
    QVERIFY(!p.pacer.state().zapytanie);
    QCOMPARE(p.wakeAt, p.now);                      // the repeat is wanted at once
    QVERIFY(p.wakeUp(true));                        // and leaves at that pass
    QCOMPARE(p.pacer.state().bledna_transmisja, 1); // only a timed request clears it
}

void PacerTest::stoppedAsksForNoWakeUp()
{
    Pacing p;
    for (int i = 1; i <= 5; ++i)
        QVERIFY(!p.passAt(i * 0.05));
    QCOMPARE(p.wakeAt, -1.0);
    p.pacer.start();
    QVERIFY(p.wakeUp(false));
    QVERIFY(p.wakeAt > p.now);
    p.pacer.stop();
    QCOMPARE(p.wakeAt, -1.0); // a pending wake-up is withdrawn
    QVERIFY(!p.passAt(2.0));
    QCOMPARE(p.wakeAt, -1.0);
}

void PacerTest::nothingWithoutDevice()
{
    Pacing p;
    p.passAt(0);
    p.pacer.start();
    QVERIFY(!p.passAt(0.5, false, 100, 0));
    QVERIFY(!p.passAt(0.9, true, 100, 0));
    QCOMPARE(p.pacer.state().measTime, 0.0);
    QCOMPARE(p.wakeAt, -1.0);
}

void PacerTest::pauseTwiceContinuesTime()
{
    Pacing p;
    p.passAt(0);
    p.pacer.start();
    p.passAt(0.3);
    p.pacer.pause();
    QVERIFY(!p.pacer.state().GO);
    QCOMPARE(p.wakeAt, -1.0);
    QVERIFY(!p.passAt(0.8));
    p.pacer.pause();
    QVERIFY(p.pacer.state().GO);
    QCOMPARE(p.wakeAt, p.now);
    p.passAt(0.9);
    QVERIFY(std::abs(p.pacer.state().measTime - 0.40) < 1e-9);
}

// A run taken back from its journal goes on from its last time at the next start; a stop or a
// time set anew (the chart recording afresh) forgets it.
void PacerTest::continuedRunStartsFromItsTime()
{
    Pacing p;
    p.passAt(0);
    p.pacer.continueFrom(120.5, true);
    p.pacer.start();
    p.passAt(0.25);
    QVERIFY(std::abs(p.pacer.state().measTime - 120.75) < 1e-9);
    p.pacer.stop();
    p.pacer.start();
    QCOMPARE(p.pacer.state().measTime, 0.0);
    p.pacer.continueFrom(7, true);
    p.pacer.setTime(0, true);
    p.pacer.start();
    QCOMPARE(p.pacer.state().measTime, 0.0);
}

void PacerTest::stopLeavesTheOutstandingRequest()
{
    Pacing p;
    p.passAt(0);
    p.pacer.start();
    QVERIFY(p.passAt(0.01, true));
    p.pacer.stop();
    QVERIFY(p.pacer.state().zapytanie);
    QCOMPARE(p.pacer.state().measTime, 0.0);
    p.pacer.start();
    QVERIFY(!p.passAt(0.02, true)); // the remaining time-out is waited out first
    QVERIFY(!p.passAt(0.065, true));
    QCOMPARE(p.pacer.state().bledna_transmisja, 1);
    QVERIFY(p.passAt(0.066, true));
}

QTEST_APPLESS_MAIN(PacerTest)
#include "tst_pacer.moc"

#include "OutputSwitching.h"

#include <QtTest>

#include <vector>

namespace {

struct Step {
    uint8_t mode;
    double value;   ///< of the active sensor 0
    double seconds; ///< since the previous step
    uint32_t cycles;
    bool pk1;
    bool pk2;
};

SwitchInputs inputs(uint8_t mode, double p1, double p2, std::array<std::optional<double>, 3> values, uint8_t active = 0)
{
    SwitchInputs in;
    in.values = values;
    in.mode = mode;
    in.activeSensor = active;
    in.P1 = p1;
    in.P2 = p2;
    in.onTimeMs = 100;
    return in;
}

} // namespace

class OutputSwitchingTest : public QObject {
    Q_OBJECT

    /// Drives sensor 0 through the steps and checks the counter and both lines after each.
    static void run(double p1, double p2, const std::vector<Step> &steps)
    {
        OutputSwitching outputs;
        for (size_t n = 0; n < steps.size(); ++n) {
            const Step &s = steps[n];
            outputs.update(inputs(s.mode, p1, p2, {s.value, std::nullopt, std::nullopt}), s.seconds);
            const QByteArray where = "step " + QByteArray::number(qulonglong(n));
            QVERIFY2(outputs.cycles(0) == s.cycles, where);
            QVERIFY2(outputs.pk1() == s.pk1, where);
            QVERIFY2(outputs.pk2() == s.pk2, where);
        }
    }

private slots:
    void levelModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("p1");
        QTest::addColumn<double>("p2");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("pk1");
        QTest::addColumn<bool>("pk2");
        QTest::newRow("mode 0 keeps both off") << 0 << 90.0 << 270.0 << 300.0 << false << false;
        QTest::newRow("mode 1 below P1") << 1 << 90.0 << 270.0 << 89.9 << false << false;
        QTest::newRow("mode 1 at P1") << 1 << 90.0 << 270.0 << 90.0 << true << false;
        QTest::newRow("mode 1 at P2") << 1 << 90.0 << 270.0 << 270.0 << true << true;
        QTest::newRow("mode 1 P2 below P1") << 1 << 90.0 << 45.0 << 60.0 << false << true;
        QTest::newRow("mode 2 before the margin") << 2 << 100.0 << 10.0 << 89.9 << false << false;
        QTest::newRow("mode 2 inside the margin") << 2 << 100.0 << 10.0 << 90.0 << false << true;
        QTest::newRow("mode 2 at the threshold") << 2 << 100.0 << 10.0 << 100.0 << true << true;
        QTest::newRow("unknown mode") << 4 << 0.0 << 0.0 << 10.0 << false << false;
    }

    void levelModes()
    {
        QFETCH(int, mode);
        QFETCH(double, p1);
        QFETCH(double, p2);
        QFETCH(double, value);
        QFETCH(bool, pk1);
        QFETCH(bool, pk2);
        OutputSwitching outputs;
        outputs.update(inputs(uint8_t(mode), p1, p2, {value, std::nullopt, std::nullopt}), 0.0);
        QCOMPARE(outputs.pk1(), pk1);
        QCOMPARE(outputs.pk2(), pk2);
    }

    void activeSensorDecides_data()
    {
        QTest::addColumn<int>("active");
        QTest::addColumn<bool>("pk1");
        QTest::addColumn<bool>("pk2");
        QTest::newRow("sensor 0 low") << 0 << false << false;
        QTest::newRow("sensor 1 high") << 1 << true << true;
        QTest::newRow("sensor 2 absent") << 2 << false << false;
        QTest::newRow("no such sensor") << 7 << false << false;
    }

    void activeSensorDecides()
    {
        QFETCH(int, active);
        QFETCH(bool, pk1);
        QFETCH(bool, pk2);
        OutputSwitching outputs;
        outputs.update(inputs(1, 100.0, 150.0, {10.0, 200.0, std::nullopt}, uint8_t(active)), 0.0);
        QCOMPARE(outputs.pk1(), pk1);
        QCOMPARE(outputs.pk2(), pk2);
    }

    void cycleCounting()
    {
        // P1 = 100, re-arm below P2 = 50; PK1 pulses 100 ms, PK2 shows the armed state.
        run(100.0, 50.0,
            {
                {3, 80.0, 0.0, 0, false, false},   // never below 50 yet: not armed
                {3, 120.0, 0.01, 0, false, false}, // so reaching P1 counts nothing
                {3, 40.0, 0.01, 0, false, true},   // armed
                {3, 70.0, 0.01, 0, false, true},   // still armed between the levels
                {3, 100.0, 0.01, 1, true, false},  // reaches P1: one cycle, pulse starts
                {3, 130.0, 0.05, 1, true, false},
                {3, 40.0, 0.04, 1, true, true},  // 10 ms of pulse left
                {3, 45.0, 0.02, 1, false, true}, // pulse over
                {3, 150.0, 0.01, 2, true, false},
            });
    }

    void rearmLevelIsTheLowerThreshold()
    {
        // P2 above P1: re-arming needs a fall below P1, so a value resting between them counts once.
        run(100.0, 200.0,
            {
                {3, 50.0, 0.0, 0, false, true},
                {3, 150.0, 0.01, 1, true, false},
                {3, 180.0, 0.01, 1, true, false},
                {3, 190.0, 0.5, 1, false, false},
                {3, 90.0, 0.01, 1, false, true},
                {3, 120.0, 0.01, 2, true, false},
            });
    }

    void countsOnlyInMode3()
    {
        run(100.0, 50.0,
            {
                {1, 40.0, 0.0, 0, false, false},
                {1, 120.0, 0.01, 0, true, true}, // passes P1 outside mode 3: disarmed, not counted
                {3, 120.0, 0.01, 0, false, false},
                {1, 40.0, 0.01, 0, false, false}, // armed in mode 1 ...
                {3, 40.0, 0.01, 0, false, true},
                {3, 120.0, 0.01, 1, true, false}, // ... counts once in mode 3
                {0, 120.0, 0.01, 1, false, false},
            });
    }

    void everySensorCountsOnlyTheActiveOnePulses()
    {
        OutputSwitching outputs;
        outputs.update(inputs(3, 100.0, 50.0, {80.0, 10.0, 10.0}), 0.0);
        outputs.update(inputs(3, 100.0, 50.0, {80.0, 150.0, 10.0}), 0.01);
        QCOMPARE(outputs.cycles(0), 0u);
        QCOMPARE(outputs.cycles(1), 1u);
        QCOMPARE(outputs.cycles(2), 0u);
        QVERIFY(!outputs.pk1());

        outputs.clearCycles(1);
        QCOMPARE(outputs.cycles(1), 0u);
    }
};

QTEST_APPLESS_MAIN(OutputSwitchingTest)
#include "OutputSwitchingTest.moc"

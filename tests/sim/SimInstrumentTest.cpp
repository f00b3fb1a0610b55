#include "SimInstrument.h"
#include "HexBytes.h"
#include "SensorMotion.h"

#include <QtTest>

#include <cmath>

using namespace kx;

class SimInstrumentTest : public QObject {
    Q_OBJECT

    SimInstrument sim;

    QString exchange(const QString &request)
    {
        const std::vector<uint8_t> frame = bytes(request);
        Q_ASSERT(frame.size() == kFrameSize);
        return hex(sim.handleRequest(frame.data()));
    }

    QString send(uint8_t kind, uint8_t cmd, const FrameData &d)
    {
        const ProtocolFrame frame = buildFrame(kind, cmd, d);
        return hex(sim.handleRequest(frame.data()));
    }

    QString writeFloat(uint8_t cmd, float value)
    {
        FrameData d;
        PackU32(value, d.data());
        return send(FRAME_WRITE, cmd, d);
    }

    QString writeByte(uint8_t cmd, uint8_t value) { return send(FRAME_WRITE, cmd, {value, 0, 0, 0}); }

    QString measure() { return send(FRAME_READ, CMD_MEASURE, kZeroData); }

    void setPresence(const QString &bits)
    {
        for (int i = 0; i < 3; ++i)
            sim.setSensorPresent(i, bits[i] == u'1');
    }

    /// Sensors 0, 1, 2 stand still at 10, 20 and 30 degrees.
    void holdValues()
    {
        for (int i = 0; i < 3; ++i) {
            writeFloat(CMD_COEF0 + i, 0.0f);
            writeFloat(CMD_OFFSET0 + i, 10.0f * (i + 1));
        }
    }

private slots:
    void init() { sim = SimInstrument(); }

    void factoryDefaults_data()
    {
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("reply");
        QTest::newRow("mode") << "F1 F1 01 00 00 00 00 01"
                              << "F3 F3 01 01 00 00 00 02";
        QTest::newRow("decp") << "F1 F1 02 00 00 00 00 02"
                              << "F3 F3 02 02 00 00 00 04";
        QTest::newRow("beep") << "F1 F1 03 00 00 00 00 03"
                              << "F3 F3 03 01 00 00 00 04";
        QTest::newRow("on time") << "F1 F1 04 00 00 00 00 04"
                                 << "F3 F3 04 64 00 00 00 68";
        QTest::newRow("P1") << "F1 F1 08 00 00 00 00 08"
                            << "F3 F3 08 00 00 B4 42 FE";
        QTest::newRow("P2") << "F1 F1 09 00 00 00 00 09"
                            << "F3 F3 09 00 00 87 43 D3";
        QTest::newRow("LED") << "F1 F1 0C 00 00 00 00 0C"
                             << "F3 F3 0C 05 00 00 00 11";
        QTest::newRow("zero 0") << "F1 F1 0D 00 00 00 00 0D"
                                << "F3 F3 0D 00 00 00 00 0D";
        QTest::newRow("zero 2") << "F1 F1 0F 00 00 00 00 0F"
                                << "F3 F3 0F 00 00 00 00 0F";
        QTest::newRow("offset 1") << "F1 F1 11 00 00 00 00 11"
                                  << "F3 F3 11 00 00 00 00 11";
        QTest::newRow("multiplier 0") << "F1 F1 13 00 00 00 00 13"
                                      << "F3 F3 13 00 00 80 3F D2";
        QTest::newRow("multiplier 2") << "F1 F1 15 00 00 00 00 15"
                                      << "F3 F3 15 00 00 80 3F D4";
        QTest::newRow("sensors") << "F1 F1 1A 00 00 00 00 1A"
                                 << "F3 F3 1A 01 01 01 00 1D";
        QTest::newRow("resolution 0") << "F1 F1 25 00 00 00 00 25"
                                      << "F3 F3 25 00 00 80 45 EA";
        QTest::newRow("resolution 2") << "F1 F1 27 00 00 00 00 27"
                                      << "F3 F3 27 00 00 80 45 EC";
        QTest::newRow("identity") << "F1 F1 20 00 00 00 00 20"
                                  << "F3 F3 20 4B 53 35 00 F3";
        QTest::newRow("software") << "F1 F1 22 00 00 00 00 22"
                                  << "F3 F3 22 0C 00 00 00 2E";
        QTest::newRow("hardware") << "F1 F1 23 00 00 00 00 23"
                                  << "F3 F3 23 0A 00 00 00 2D";
    }

    void factoryDefaults()
    {
        QFETCH(QString, read);
        QFETCH(QString, reply);
        QCOMPARE(exchange(read), reply);

        for (const uint8_t cmd : {CMD_MODE, CMD_DECP, CMD_BEEP, CMD_LED})
            writeByte(cmd, 3);
        send(FRAME_WRITE, CMD_ONTIME, {7, 0, 0, 0});
        send(FRAME_WRITE, CMD_SENSORS, {0, 0, 0, 2});
        for (const uint8_t cmd : {CMD_PK1, CMD_PK2})
            writeFloat(cmd, 3.0f);
        for (int i = 0; i < 3; ++i) {
            for (const uint8_t first : {CMD_UZP0, CMD_OFFSET0, CMD_COEF0, CMD_RES0})
                writeFloat(first + i, 3.0f);
        }
        QCOMPARE(exchange("F2 F2 24 00 00 00 00 24"), QString("F3 F3 24 00 00 00 00 24"));
        QCOMPARE(exchange(read), reply);
    }

    void writesAreHeldAndReported_data()
    {
        QTest::addColumn<QString>("write");
        QTest::addColumn<QString>("reply");
        QTest::newRow("mode 3") << "F2 F2 01 03 00 00 00 04"
                                << "F3 F3 01 03 00 00 00 04";
        QTest::newRow("byte takes d0 only") << "F2 F2 01 02 07 00 00 0A"
                                            << "F3 F3 01 02 00 00 00 03";
        QTest::newRow("decp 4") << "F2 F2 02 04 00 00 00 06"
                                << "F3 F3 02 04 00 00 00 06";
        QTest::newRow("beep off") << "F2 F2 03 00 00 00 00 03"
                                  << "F3 F3 03 00 00 00 00 03";
        QTest::newRow("on time 250") << "F2 F2 04 FA 00 00 00 FE"
                                     << "F3 F3 04 FA 00 00 00 FE";
        QTest::newRow("on time -1") << "F2 F2 04 FF FF FF FF 00"
                                    << "F3 F3 04 FF FF FF FF 00";
        QTest::newRow("P1 12.5") << "F2 F2 08 00 00 48 41 91"
                                 << "F3 F3 08 00 00 48 41 91";
        QTest::newRow("P2 -30.25") << "F2 F2 09 00 00 F2 C1 BC"
                                   << "F3 F3 09 00 00 F2 C1 BC";
        QTest::newRow("LED 9") << "F2 F2 0C 09 00 00 00 15"
                               << "F3 F3 0C 09 00 00 00 15";
        QTest::newRow("zero 1 12.345") << "F2 F2 0E 1F 85 45 41 38"
                                       << "F3 F3 0E 1F 85 45 41 38";
        QTest::newRow("offset 2 -5.5") << "F2 F2 12 00 00 B0 C0 82"
                                       << "F3 F3 12 00 00 B0 C0 82";
        QTest::newRow("multiplier 0 2.5") << "F2 F2 13 00 00 20 40 73"
                                          << "F3 F3 13 00 00 20 40 73";
        QTest::newRow("resolution 0 1024") << "F2 F2 25 00 00 80 44 E9"
                                           << "F3 F3 25 00 00 80 44 E9";
        QTest::newRow("resolution 2 256") << "F2 F2 27 00 00 80 43 EA"
                                          << "F3 F3 27 00 00 80 43 EA";
        QTest::newRow("active sensor 2") << "F2 F2 1A 00 00 00 02 1C"
                                         << "F3 F3 1A 01 01 01 02 1F";
    }

    void writesAreHeldAndReported()
    {
        QFETCH(QString, write);
        QFETCH(QString, reply);
        QCOMPARE(exchange(write), reply);
        const uint8_t cmd = bytes(write)[2];
        QCOMPARE(send(FRAME_READ, cmd, kZeroData), reply);
    }

    void singleExchanges_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("reply");
        QTest::newRow("read ignores its data") << "F1 F1 08 00 00 48 41 91"
                                               << "F3 F3 08 00 00 B4 42 FE";
        QTest::newRow("sensor read keeps the active sensor") << "F1 F1 1A 00 00 00 02 1C"
                                                             << "F3 F3 1A 01 01 01 00 1D";
        QTest::newRow("counter reset") << "F2 F2 1C 00 00 00 00 1C"
                                       << "F3 F3 1C 00 00 00 00 1C";
        QTest::newRow("unknown 5 echoed empty") << "F2 F2 05 01 02 03 04 0F"
                                                << "F3 F3 05 00 00 00 00 05";
        QTest::newRow("unknown 0") << "F1 F1 00 00 00 00 00 00"
                                   << "F3 F3 00 00 00 00 00 00";
        QTest::newRow("unknown 255") << "F1 F1 FF 00 00 00 00 FF"
                                     << "F3 F3 FF 00 00 00 00 FF";
        QTest::newRow("bad checksum") << "F1 F1 0C 00 00 00 00 0D"
                                      << "";
        QTest::newRow("unequal start bytes") << "F1 F2 0C 00 00 00 00 0C"
                                             << "";
        QTest::newRow("reply start bytes") << "F3 F3 0C 00 00 00 00 0C"
                                           << "";
        QTest::newRow("measurement start bytes") << "F4 F4 07 00 00 00 00 07"
                                                 << "";
    }

    void singleExchanges()
    {
        QFETCH(QString, request);
        QFETCH(QString, reply);
        QCOMPARE(exchange(request), reply);
    }

    void sensorPresence_data()
    {
        QTest::addColumn<QString>("presence");
        QTest::addColumn<QString>("reply");
        QTest::newRow("101") << "101"
                             << "F3 F3 1A 01 00 01 00 1C";
        QTest::newRow("010") << "010"
                             << "F3 F3 1A 00 01 00 00 1B";
        QTest::newRow("000") << "000"
                             << "F3 F3 1A 00 00 00 00 1A";
    }

    void sensorPresence()
    {
        QFETCH(QString, presence);
        QFETCH(QString, reply);
        setPresence(presence);
        QCOMPARE(exchange("F1 F1 1A 00 00 00 00 1A"), reply);
    }

    void identityAndVersions_data()
    {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QString>("reply");
        QTest::newRow("KQ5") << "KQ5"
                             << "F3 F3 20 4B 51 35 00 F1";
        QTest::newRow("VR5") << "VR5"
                             << "F3 F3 20 56 52 35 00 FD";
        QTest::newRow("short") << "X"
                               << "F3 F3 20 58 00 00 00 78";
    }

    void identityAndVersions()
    {
        QFETCH(QString, letters);
        QFETCH(QString, reply);
        sim.setIdentity(letters.toStdString());
        QCOMPARE(QString::fromStdString(sim.identity()), letters);
        QCOMPARE(exchange("F1 F1 20 00 00 00 00 20"), reply);

        sim.setSoftwareVersion(7);
        sim.setHardwareVersion(200);
        QCOMPARE(exchange("F1 F1 22 00 00 00 00 22"), QString("F3 F3 22 07 00 00 00 29"));
        QCOMPARE(exchange("F1 F1 23 00 00 00 00 23"), QString("F3 F3 23 C8 00 00 00 EB"));
    }

    void measurementLayout_data()
    {
        QTest::addColumn<QString>("presence");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("frame");
        QTest::newRow("all") << "111" << 0 << "F4 F4 07 00 00 20 41 00 00 A0 41 00 00 F0 41";
        QTest::newRow("0 and 1") << "110" << 0 << "F4 F4 03 00 00 20 41 00 00 A0 41";
        QTest::newRow("0 and 2") << "101" << 0 << "F4 F4 05 00 00 20 41 00 00 F0 41";
        QTest::newRow("none") << "000" << 0 << "F4 F4 00";
        QTest::newRow("mode 2 warning on") << "111" << 2 << "F4 F4 27 00 00 20 41 00 00 A0 41 00 00 F0 41";
        QTest::newRow("counters, active armed")
            << "111" << 3 << "F4 F4 2F 00 00 20 41 00 00 00 00 00 00 A0 41 00 00 00 00 00 00 F0 41 00 00 00 00";
        QTest::newRow("counters, active absent") << "010" << 3 << "F4 F4 0A 00 00 A0 41 00 00 00 00";
    }

    void measurementLayout()
    {
        QFETCH(QString, presence);
        QFETCH(int, mode);
        QFETCH(QString, frame);
        setPresence(presence);
        holdValues();
        writeByte(CMD_MODE, uint8_t(mode));
        QCOMPARE(measure(), frame);
    }

    void outputsFollowTheActiveSensor()
    {
        holdValues();
        writeFloat(CMD_PK1, 15.0f);
        writeFloat(CMD_PK2, 25.0f);
        const QString expected[] = {"F4 F4 07", "F4 F4 17", "F4 F4 37"};
        for (uint8_t active = 0; active < 3; ++active) {
            send(FRAME_WRITE, CMD_SENSORS, {0, 0, 0, active});
            QCOMPARE(measure().left(8), expected[active]);
        }
    }

    void cycleCountersAndReset()
    {
        holdValues();
        writeByte(CMD_MODE, 3);
        writeFloat(CMD_OFFSET0, 100.0f);
        writeFloat(CMD_OFFSET1, 100.0f);
        QCOMPARE(sim.cycles(0), 1u);
        QCOMPARE(sim.cycles(1), 1u);
        // PK1 pulses for the active sensor 0 only.
        QCOMPARE(measure(), QString("F4 F4 1F 00 00 C8 42 00 00 80 3F 00 00 C8 42 00 00 80 3F"
                                    " 00 00 F0 41 00 00 00 00"));

        sim.advance(0.2);
        writeFloat(CMD_OFFSET0, 10.0f);
        writeFloat(CMD_OFFSET0, 100.0f);
        QCOMPARE(sim.cycles(0), 2u);

        QCOMPARE(exchange("F2 F2 1B 00 00 00 00 1B"), QString("F3 F3 1B 00 00 00 00 1B"));
        QCOMPARE(sim.cycles(0), 0u);
        QCOMPARE(sim.cycles(1), 1u);
        sim.advance(0.2);
        QCOMPARE(measure(), QString("F4 F4 0F 00 00 C8 42 00 00 00 00 00 00 C8 42 00 00 80 3F"
                                    " 00 00 F0 41 00 00 00 00"));
    }

    void corrections_data()
    {
        QTest::addColumn<float>("res");
        QTest::addColumn<float>("zero");
        QTest::addColumn<float>("coef");
        QTest::addColumn<float>("offset");
        QTest::addColumn<double>("value");
        // Sensor 0 stands at 60 degrees after 2 s.
        QTest::newRow("12-bit steps") << 4096.0f << 0.0f << 1.0f << 0.0f << 59.94140625;
        QTest::newRow("1 degree steps") << 360.0f << 0.0f << 1.0f << 0.0f << 60.0;
        QTest::newRow("45 degree steps") << 8.0f << 0.0f << 1.0f << 0.0f << 45.0;
        QTest::newRow("zero position") << 360.0f << 20.0f << 1.0f << 0.0f << 40.0;
        QTest::newRow("zero past position wraps") << 360.0f << 90.0f << 1.0f << 0.0f << 330.0;
        QTest::newRow("multiplier") << 360.0f << 0.0f << 2.0f << 0.0f << 120.0;
        QTest::newRow("multiplier past a turn") << 360.0f << 0.0f << 7.0f << 0.0f << 60.0;
        QTest::newRow("negative multiplier") << 360.0f << 0.0f << -1.0f << 0.0f << 300.0;
        QTest::newRow("offset below zero") << 360.0f << 0.0f << 1.0f << -70.0f << 350.0;
        QTest::newRow("all three") << 360.0f << 20.0f << 0.5f << 100.0f << 120.0;
    }

    void corrections()
    {
        QFETCH(float, res);
        QFETCH(float, zero);
        QFETCH(float, coef);
        QFETCH(float, offset);
        QFETCH(double, value);
        sim.advance(2.0);
        writeFloat(CMD_RES0, res);
        writeFloat(CMD_UZP0, zero);
        writeFloat(CMD_COEF0, coef);
        writeFloat(CMD_OFFSET0, offset);
        QCOMPARE(sim.value(0), value);
    }

    void zeroingTakesThePosition()
    {
        sim.advance(2.0);
        writeFloat(CMD_RES0, 360.0f);
        writeFloat(CMD_OFFSET0, 5.0f);
        QCOMPARE(exchange("F2 F2 16 00 00 00 00 16"), QString("F3 F3 16 00 00 70 42 C8"));
        QCOMPARE(exchange("F1 F1 0D 00 00 00 00 0D"), QString("F3 F3 0D 00 00 70 42 BF"));
        QCOMPARE(sim.value(0), 5.0);

        for (int i = 1; i < 3; ++i) {
            const std::vector<uint8_t> reply = bytes(send(FRAME_WRITE, CMD_ZERO0 + i, kZeroData));
            QCOMPARE(ReplyFloat32(reply.data()), float(sim.position(i)));
            QCOMPARE(sim.params().UZP[i], float(sim.position(i)));
            QCOMPARE(sim.value(i), 0.0);
        }
    }

    void sensorMotion_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("angle0");
        QTest::addColumn<double>("angle1");
        QTest::addColumn<double>("angle2");
        QTest::newRow("power-up") << 0.0 << 0.0 << 180.0 << 0.0;
        QTest::newRow("1.5 s") << 1.5 << 45.0 << 300.0 << 342.0;
        QTest::newRow("3 s") << 3.0 << 90.0 << 180.0 << 324.0;
        QTest::newRow("4.5 s") << 4.5 << 135.0 << 60.0 << 306.0;
        QTest::newRow("13 s, past a turn") << 13.0 << 30.0 << 180.0 + 60.0 * std::sqrt(3.0) << 204.0;
    }

    void sensorMotion()
    {
        QFETCH(double, seconds);
        QFETCH(double, angle0);
        QFETCH(double, angle1);
        QFETCH(double, angle2);
        const double angles[] = {angle0, angle1, angle2};
        for (int i = 0; i < 3; ++i)
            QVERIFY2(std::abs(SensorMotion::angle(i, seconds) - angles[i]) < 1e-9,
                     qPrintable(QString("sensor %1").arg(i)));
    }

    void advanceMovesTheSensors()
    {
        sim.advance(0.7);
        sim.advance(0.8);
        QCOMPARE(sim.seconds(), 1.5);
        QCOMPARE(sim.position(0), 45.0);
        sim.advance(-1.0);
        QCOMPARE(sim.seconds(), 1.5);
    }
};

QTEST_APPLESS_MAIN(SimInstrumentTest)
#include "SimInstrumentTest.moc"

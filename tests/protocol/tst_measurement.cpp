#include "BurstRoute.h"
#include "FrameBuilders.h"
#include "MeasurementDecoder.h"
#include "ProtocolFrame.h"

#include <QtTest>

using namespace kx;

namespace {

QString describe(const ChannelState &c)
{
    QStringList parts;
    for (int i = 0; i < 3; ++i)
        parts << QString("v%1=%2 c%1=%3").arg(i).arg(c.channelValue[i]).arg(c.cycleCount[i]);
    parts << QString("pk1=%1 pk2=%2").arg(c.pk1State).arg(c.pk2State);
    return parts.join(' ');
}

ChannelState earlier()
{
    ChannelState c;
    for (int i = 0; i < 3; ++i) {
        c.channelValue[i] = float(-1 - i);
        c.cycleCount[i] = float(-10 - i);
    }
    return c;
}

} // namespace

class MeasurementTest : public QObject {
    Q_OBJECT

private slots:
    void decoding_data();
    void decoding();
    void unchangedPresenceTouchesNothing();
    void valuesAreTakenBitForBit();
    void routing_data();
    void routing();
};

void MeasurementTest::decoding_data()
{
    QTest::addColumn<QByteArray>("burst");
    QTest::addColumn<int>("presentBefore");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("changed");
    QTest::addColumn<QString>("channels");

    QTest::newRow("0x07: three values, counters kept") << measurementFrame(0x07, {10, 20, 30}) << 0 << true << 0x07
                                                       << "v0=10 c0=-10 v1=20 c1=-11 v2=30 c2=-12 pk1=0 pk2=0";
    QTest::newRow("0x0F: values and counters interleaved")
        << measurementFrame(0x0F, {10, 1, 20, 2, 30, 3}) << 0x07 << true << 0
        << "v0=10 c0=1 v1=20 c1=2 v2=30 c2=3 pk1=0 pk2=0";
    QTest::newRow("0x0A: sensor 1 alone with counter") << measurementFrame(0x0A, {20, 5}) << 0x05 << true << 0x07
                                                       << "v0=-1 c0=-10 v1=20 c1=5 v2=-3 c2=-12 pk1=0 pk2=0";
    QTest::newRow("0x30: no sensor, both outputs on")
        << measurementFrame(0x30, {}) << 0x01 << true << 0x01 << "v0=-1 c0=-10 v1=-2 c1=-11 v2=-3 c2=-12 pk1=1 pk2=1";
    QTest::newRow("bytes beyond the announced length are ignored")
        << measurementFrame(0x01, {7, 99}) << 0x01 << true << 0 << "v0=7 c0=-10 v1=-2 c1=-11 v2=-3 c2=-12 pk1=0 pk2=0";
    QTest::newRow("short frame dropped") << measurementFrame(0x17, {10, 20}) << 0 << false << 0
                                         << "v0=-1 c0=-10 v1=-2 c1=-11 v2=-3 c2=-12 pk1=0 pk2=0";
    QTest::newRow("two bytes dropped") << QByteArray("\xF4\xF4", 2) << 0 << false << 0
                                       << "v0=-1 c0=-10 v1=-2 c1=-11 v2=-3 c2=-12 pk1=0 pk2=0";
}

void MeasurementTest::decoding()
{
    QFETCH(QByteArray, burst);
    QFETCH(int, presentBefore);
    QFETCH(bool, accepted);
    QFETCH(int, changed);
    QFETCH(QString, channels);

    DeviceState device;
    for (int i = 0; i < 3; ++i)
        device.sensorPresent[i] = presentBefore & (1 << i);
    ChannelState state = earlier();
    const MeasurementResult result = decodeMeasurement(bytesOf(burst), size_t(burst.size()), device, state);
    QCOMPARE(result.accepted, accepted);
    QCOMPARE(int(result.presenceChanged), changed);
    QCOMPARE(device.panelRefreshPending, changed != 0);
    QCOMPARE(describe(state), channels);
    if (accepted) {
        for (int i = 0; i < 3; ++i)
            QCOMPARE(device.sensorPresent[i], bool(uint8_t(burst[2]) & (1 << i)));
    }
}

void MeasurementTest::unchangedPresenceTouchesNothing()
{
    DeviceState device;
    ChannelState state;
    const QByteArray burst = measurementFrame(0x03, {1, 2});
    QCOMPARE(int(decodeMeasurement(bytesOf(burst), burst.size(), device, state).presenceChanged), 0x03);
    device.panelRefreshPending = false;
    QCOMPARE(int(decodeMeasurement(bytesOf(burst), burst.size(), device, state).presenceChanged), 0);
    QVERIFY(!device.panelRefreshPending);
}

void MeasurementTest::valuesAreTakenBitForBit()
{
    DeviceState device;
    ChannelState state;
    const float value = 359.99997f;
    const QByteArray burst = measurementFrame(0x01, {value});
    decodeMeasurement(bytesOf(burst), burst.size(), device, state);
    QCOMPARE(memcmp(&state.channelValue[0], &value, sizeof value), 0);
}

void MeasurementTest::routing_data()
{
    QTest::addColumn<QByteArray>("burst");
    QTest::addColumn<int>("route");
    const int measurement = int(BurstRoute::Measurement), reply = int(BurstRoute::Reply),
              nothing = int(BurstRoute::Nothing);
    QTest::newRow("F4 F4 of 3 bytes") << QByteArray::fromHex("F4F430") << measurement;
    QTest::newRow("F4 F4 of 27 bytes") << measurementFrame(0x0F, {1, 2, 3, 4, 5, 6}) << measurement;
    QTest::newRow("F4 F4 of 8 bytes") << QByteArray::fromHex("F4F4010000204100") << measurement;
    QTest::newRow("reply of 8") << QByteArray::fromHex("F3F30C0500000011") << reply;
    QTest::newRow("00 00 of 8") << QByteArray::fromHex("0000000000000000") << reply;
    QTest::newRow("reply and a ninth byte") << QByteArray::fromHex("F3F30C050000001100") << nothing;
    QTest::newRow("seven bytes") << QByteArray::fromHex("F3F30C05000000") << nothing;
    QTest::newRow("unequal first bytes") << QByteArray::fromHex("F3F20C0500000011") << nothing;
    QTest::newRow("F4 then other") << QByteArray::fromHex("F4F30C0500000011") << nothing;
    QTest::newRow("single F4") << QByteArray::fromHex("F4") << nothing;
}

void MeasurementTest::routing()
{
    QFETCH(QByteArray, burst);
    QFETCH(int, route);
    QCOMPARE(int(routeBurst(bytesOf(burst), size_t(burst.size()))), route);
}

QTEST_APPLESS_MAIN(MeasurementTest)
#include "tst_measurement.moc"

#include "ParameterSync.h"
#include "ConnectionSequence.h"

#include <QLocale>
#include <QtTest>

using namespace kx;

namespace {

/// A connected instrument whose every value has been reported and agrees with the wanted one.
DeviceState settled()
{
    DeviceState d;
    d.Recv.UZP[0] = d.Recv.UZP[1] = d.Recv.UZP[2] = true;
    d.Recv.Res[0] = d.Recv.Res[1] = d.Recv.Res[2] = true;
    d.Set.Res[0] = d.Set.Res[1] = d.Set.Res[2] = d.Stan.Res[0] = d.Stan.Res[1] = d.Stan.Res[2] = 1024;
    return d;
}

SyncRequest write(uint8_t cmd, FrameData data = kZeroData)
{
    return {true, cmd, data};
}
SyncRequest read(uint8_t cmd, FrameData data = kZeroData)
{
    return {false, cmd, data};
}

} // namespace

class SyncTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void nothingWithoutDevice();
    void writesInOrderAfterEachRefresh();
    void firstDifference_data();
    void firstDifference();
    void readsMissingValuesThenResolutions();
    void cycleResetRepeatsUntilZero();
    void idlePollEveryNinthTick();
    void listing();
    void statusText_data();
    void statusText();
    void versionTexts();
};

void SyncTest::nothingWithoutDevice()
{
    ParameterSync sync;
    DeviceState d;
    d.Set.LED = 5;
    d.panelRefreshPending = true;
    sync.cycleResetPending[0] = true;
    const SyncTick tick = sync.tick(d, false, false, ChannelState{});
    QVERIFY(tick.requests.empty());
    QVERIFY(!tick.refreshPanel);
    QVERIFY(d.panelRefreshPending);
}

void SyncTest::writesInOrderAfterEachRefresh()
{
    ParameterSync sync;
    sync.pollCountdown = 100; // keep the idle poll out of the way
    DeviceState d = settled();
    d.Set.LED = 7;
    d.Set.PK1 = 12.5f;
    QCOMPARE(sync.tick(d, true, false, {}).requests, std::vector{write(CMD_LED, {7, 0, 0, 0})});
    QCOMPARE(sync.tick(d, true, false, {}).requests, std::vector{write(CMD_LED, {7, 0, 0, 0})}); // lost: again
    d.Stan.LED = 7;                                                                              // the reply
    d.panelRefreshPending = true;
    const SyncTick refresh = sync.tick(d, true, false, {});
    QVERIFY(refresh.refreshPanel && refresh.requests.empty());
    QVERIFY(!d.panelRefreshPending);
    QCOMPARE(sync.tick(d, true, false, {}).requests, std::vector{write(CMD_PK1, packedData(12.5f))});
}

void SyncTest::firstDifference_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<bool>("sends");
    QTest::addColumn<int>("cmd");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("on-time") << 0 << true << int(CMD_ONTIME) << QByteArray::fromHex("10270000");
    QTest::newRow("PK1 rounds equal") << 1 << false << 0 << QByteArray();
    QTest::newRow("PK2 not a number") << 2 << true << int(CMD_PK2) << QByteArray::fromHex("0000c07f");
    QTest::newRow("active sensor in d3") << 3 << true << int(CMD_SENSORS) << QByteArray::fromHex("00000002");
    QTest::newRow("mode") << 4 << true << int(CMD_MODE) << QByteArray::fromHex("03000000");
    QTest::newRow("multiplier 2") << 5 << true << int(CMD_COEF2) << QByteArray::fromHex("00002040");
    QTest::newRow("zero before offset") << 6 << true << int(CMD_UZP1) << QByteArray::fromHex("0000803f");
    QTest::newRow("resolution last") << 7 << true << int(CMD_RES0) << QByteArray::fromHex("00008045");
}

void SyncTest::firstDifference()
{
    QFETCH(int, member);
    QFETCH(bool, sends);
    QFETCH(int, cmd);
    QFETCH(QByteArray, data);
    ParameterSync sync;
    sync.pollCountdown = 100;
    DeviceState d = settled();
    switch (member) {
    case 0:
        d.Set.OnTime = 10000;
        break;
    case 1:
        d.Set.PK1 = 1.2344f;
        d.Stan.PK1 = 1.2341f;
        break;
    case 2:
        d.Set.PK2 = std::numeric_limits<float>::quiet_NaN();
        d.Stan.PK2 = d.Set.PK2;
        break;
    case 3:
        d.Set.Q_NR = 2;
        break;
    case 4:
        d.Set.mode = 3;
        d.Set.Offset[0] = 1;
        break;
    case 5:
        d.Set.COEF[2] = 2.5f;
        d.Set.UZP[0] = 1;
        break;
    case 6:
        d.Set.UZP[1] = 1.0f;
        d.Set.Offset[0] = 4;
        break;
    case 7:
        d.Set.Res[0] = 4096;
        break;
    }
    const SyncTick tick = sync.tick(d, true, false, {});
    if (!sends) {
        QVERIFY(tick.requests.empty());
        return;
    }
    QCOMPARE(tick.requests.size(), size_t(1));
    QCOMPARE(int(tick.requests[0].cmd), cmd);
    QVERIFY(tick.requests[0].write);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(tick.requests[0].data.data()), 4).toHex(), data.toHex());
}

void SyncTest::readsMissingValuesThenResolutions()
{
    ParameterSync sync;
    sync.pollCountdown = 100;
    DeviceState d = settled();
    d.Recv.UZP[2] = false;
    d.Recv.Res[1] = false;
    QCOMPARE(sync.tick(d, true, false, {}).requests, std::vector{read(CMD_UZP2)});
    d.Recv.UZP[2] = true;
    QCOMPARE(sync.tick(d, true, false, {}).requests, std::vector{read(CMD_RES1)});
}

void SyncTest::cycleResetRepeatsUntilZero()
{
    ParameterSync sync;
    sync.pollCountdown = 100;
    DeviceState d = settled();
    d.Set.LED = 1;
    ChannelState channels;
    channels.cycleCount[1] = 5;
    sync.cycleResetPending[1] = true;
    QCOMPARE(sync.tick(d, true, false, channels).requests,
             (std::vector{write(CMD_CLRCYC1), write(CMD_LED, {1, 0, 0, 0})}));
    QCOMPARE(sync.tick(d, true, false, channels).requests.front(), write(CMD_CLRCYC1));
    channels.cycleCount[1] = 0;
    d.Set.LED = 0;
    QVERIFY(sync.tick(d, true, false, channels).requests.empty());
    QVERIFY(!sync.cycleResetPending[1]);
}

void SyncTest::idlePollEveryNinthTick()
{
    ParameterSync sync;
    DeviceState d = settled();
    d.Set.Q_NR = 1;
    d.Stan.Q_NR = 1;
    QList<int> polls;
    for (int tick = 1; tick <= 19; ++tick) {
        const auto requests = sync.tick(d, true, false, {}).requests;
        if (!requests.empty()) {
            QCOMPARE(requests, std::vector{read(CMD_SENSORS, {0, 0, 0, 1})});
            polls << tick;
        }
    }
    QCOMPARE(polls, (QList<int>{1, 10, 19}));
    for (int tick = 0; tick < 20; ++tick)
        QVERIFY(sync.tick(d, true, true, {}).requests.empty());
}

void SyncTest::listing()
{
    DeviceState d;
    d.Set.LED = 5;
    d.Stan.LED = 4;
    d.Set.OnTime = -1;
    d.Set.PK1 = 1.5f;
    d.Stan.PK2 = 0.1f;
    d.Set.Q_NR = 2;
    d.Stan.Res[2] = 4096;
    AcquisitionState a;
    a.GO = true;
    a.bledna_transmisja = 1;
    const QStringList lines = syncListing(d, a);
    QCOMPARE(lines.size(), 20);
    QCOMPARE(lines[0], QString("Set.LED=5 , Stan.LED=4"));
    QCOMPARE(lines[1], QString("Set.OnTime=4294967295 , Stan.OnTime=0"));
    QCOMPARE(lines[2], QString("Set.PK1=1,5 , Stan.PK1=0"));
    QCOMPARE(lines[3], QString("Set.PK2=0 , Stan.PK2=0,100000001490116"));
    QCOMPARE(lines[7], QString("Set.Q_NR=2 , Stan.Q_NR=0"));
    QCOMPARE(lines[8], QString("Set.COEF[0]=0 , Stan.COEF[0]=0"));
    QCOMPARE(lines[16], QString("Set.Res[2]=0 , Stan.Res[2]=4096"));
    QCOMPARE(lines.mid(17), (QStringList{"Device.GO=1", "Device.zapytanie=0", "Device.bledna_transmisja=1"}));
}

void SyncTest::statusText_data()
{
    QTest::addColumn<bool>("found");
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("text");
    QTest::newRow("ready") << true << false << "gotowy do pracy";
    QTest::newRow("working") << true << true << "praca";
    QTest::newRow("absent") << false << false << "nie wykryto";
    QTest::newRow("absent while running: unchanged") << false << true << "";
}

void SyncTest::statusText()
{
    QFETCH(bool, found);
    QFETCH(bool, running);
    QFETCH(QString, text);
    QCOMPARE(::statusText(found, running).value_or(QString()), text);
}

void SyncTest::versionTexts()
{
    QCOMPARE(versionText(12), QString("1.2"));
    QCOMPARE(versionText(123), QString("1.23"));
    QCOMPARE(versionText(10), QString("1.0"));
    QCOMPARE(versionText(5), QString("5."));
}

QTEST_APPLESS_MAIN(SyncTest)
#include "tst_sync.moc"

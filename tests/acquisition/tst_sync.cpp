#include "ConnectionSequence.h"
#include "ParameterSync.h"

#include <QLocale>
#include <QtTest>

using namespace kx;

Q_DECLARE_METATYPE(DeviceParams)

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

QByteArray packedBytes(float value)
{
    const FrameData data = packedData(value);
    return QByteArray(reinterpret_cast<const char *>(data.data()), 4);
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
    QVERIFY2(d.panelRefreshPending, "cleared only once the panel has been refreshed");
    d.panelRefreshPending = false;
    QCOMPARE(sync.tick(d, true, false, {}).requests, std::vector{write(CMD_PK1, packedData(12.5f))});
}

void SyncTest::firstDifference_data()
{
    QTest::addColumn<DeviceParams>("wanted");
    QTest::addColumn<DeviceParams>("reported");
    QTest::addColumn<bool>("sends");
    QTest::addColumn<int>("cmd");
    QTest::addColumn<QByteArray>("data");
    // Neighbours in the write order, both differing: the earlier one goes first.
    QTest::newRow("LED before on-time") << DeviceParams{.LED = 7, .OnTime = 5} << DeviceParams{} << true << int(CMD_LED)
                                        << QByteArray::fromHex("07000000");
    QTest::newRow("on-time before PK1") << DeviceParams{.PK1 = 1, .OnTime = 10000} << DeviceParams{} << true
                                        << int(CMD_ONTIME) << QByteArray::fromHex("10270000");
    QTest::newRow("PK1 before PK2") << DeviceParams{.PK1 = 2, .PK2 = 3} << DeviceParams{} << true << int(CMD_PK1)
                                    << QByteArray::fromHex("00000040");
    QTest::newRow("PK2 before decp") << DeviceParams{.PK2 = 3, .decp = 2} << DeviceParams{} << true << int(CMD_PK2)
                                     << QByteArray::fromHex("00004040");
    QTest::newRow("decp before beep") << DeviceParams{.decp = 2, .Beep = 1} << DeviceParams{} << true << int(CMD_DECP)
                                      << QByteArray::fromHex("02000000");
    QTest::newRow("beep before sensors") << DeviceParams{.Q_NR = 2, .Beep = 1} << DeviceParams{} << true
                                         << int(CMD_BEEP) << QByteArray::fromHex("01000000");
    QTest::newRow("active sensor in d3, before mode") << DeviceParams{.Q_NR = 2, .mode = 3} << DeviceParams{} << true
                                                      << int(CMD_SENSORS) << QByteArray::fromHex("00000002");
    QTest::newRow("mode before multiplier") << DeviceParams{.COEF = {1, 0, 0}, .mode = 3} << DeviceParams{} << true
                                            << int(CMD_MODE) << QByteArray::fromHex("03000000");
    QTest::newRow("multiplier 2 before zero") << DeviceParams{.UZP = {1, 0, 0}, .COEF = {0, 0, 2.5f}} << DeviceParams{}
                                              << true << int(CMD_COEF2) << QByteArray::fromHex("00002040");
    QTest::newRow("zero before offset") << DeviceParams{.UZP = {0, 1, 0}, .Offset = {4, 0, 0}} << DeviceParams{} << true
                                        << int(CMD_UZP1) << QByteArray::fromHex("0000803f");
    QTest::newRow("resolutions are not its business")
        << DeviceParams{.Res = {4096, 0, 0}} << DeviceParams{} << false << 0 << QByteArray();
    // Floats compare at thousandths.
    QTest::newRow("PK1 differs in thousandths") << DeviceParams{.PK1 = 1.2344f} << DeviceParams{.PK1 = 1.2356f} << true
                                                << int(CMD_PK1) << QByteArray(packedBytes(1.2344f));
    QTest::newRow("PK1 equal at hundredths only") << DeviceParams{.PK1 = 1.2344f} << DeviceParams{.PK1 = 1.2316f}
                                                  << true << int(CMD_PK1) << QByteArray(packedBytes(1.2344f));
    QTest::newRow("PK1 equal at thousandths")
        << DeviceParams{.PK1 = 1.2344f} << DeviceParams{.PK1 = 1.2341f} << false << 0 << QByteArray();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("PK2 not a number") << DeviceParams{.PK2 = nan} << DeviceParams{.PK2 = nan} << true << int(CMD_PK2)
                                      << QByteArray::fromHex("0000c07f");
}

void SyncTest::firstDifference()
{
    QFETCH(DeviceParams, wanted);
    QFETCH(DeviceParams, reported);
    QFETCH(bool, sends);
    QFETCH(int, cmd);
    QFETCH(QByteArray, data);
    const std::optional<SyncRequest> request = ::firstDifference(wanted, reported);
    QCOMPARE(request.has_value(), sends);
    if (!sends)
        return;
    QVERIFY(request->write);
    QCOMPARE(int(request->cmd), cmd);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(request->data.data()), 4).toHex(), data.toHex());
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
    d.Recv.Res[1] = true;
    d.Set.Res[0] = 4096;
    QCOMPARE(sync.tick(d, true, false, {}).requests, std::vector{write(CMD_RES0, packedData(4096.0f))});
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

#include "DeviceSnapshot.h"
#include "FrameBuilders.h"
#include "ProtocolFrame.h"
#include "RecordingTrace.h"
#include "ReplyHandler.h"

#include <QtTest>

using namespace kx;

namespace {

QString receivedLine(const QByteArray &frame)
{
    const auto b = [&frame](int i) { return QString::number(uint8_t(frame[i])); };
    const uint8_t sum =
        uint8_t(frame[2]) + uint8_t(frame[3]) + uint8_t(frame[4]) + uint8_t(frame[5]) + uint8_t(frame[6]);
    return "   <<Received Data: " + b(2) + ": " + b(3) + " " + b(4) + " " + b(5) + " " + b(6) + " ,CRC=" + b(7) +
           "<->" + QString::number(sum);
}

/// Named starting points of the table.
void preset(DeviceState &s, const QString &name)
{
    if (name.contains("pending"))
        s.panelRefreshPending = true;
    if (name.contains("recvUZP0"))
        s.Recv.UZP[0] = true;
    if (name.contains("presenceKnown"))
        s.Recv.presenceKnown = true;
    if (name.contains("type3"))
        s.deviceType = DeviceKX520S;
}

const QString raised = "panelRefreshPending=1";

} // namespace

class ReplyHandlerTest : public QObject {
    Q_OBJECT

private slots:
    void dispatch_data();
    void dispatch();
    void rejectedFrames_data();
    void rejectedFrames();
    void resolutionSteps_data();
    void resolutionSteps();
    void activeBoxesFollowPresenceFromTheSecondReply();
    void hiddenTraceGetsNothing();
};

void ReplyHandlerTest::dispatch_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("sensor");
    QTest::addColumn<bool>("badCommand");

    const int stateOnly = ReplyEffect::StateOnly;
    QTest::newRow("1 mode") << "" << replyFrame(CMD_MODE, {2, 9, 9, 9})
                            << QStringList{raised, "Recv.mode=1", "Stan.mode=2"} << int(ReplyEffect::Mode) << 0
                            << false;
    QTest::newRow("2 decp") << "" << replyFrame(CMD_DECP, {3, 0, 0, 0})
                            << QStringList{raised, "Recv.decp=1", "Stan.decp=3"} << stateOnly << 0 << false;
    QTest::newRow("3 beep") << "" << replyFrame(CMD_BEEP, {1, 0, 0, 0})
                            << QStringList{raised, "Recv.Beep=1", "Stan.Beep=1"} << stateOnly << 0 << false;
    QTest::newRow("4 on-time") << "" << replyFrame(CMD_ONTIME, {0x10, 0x27, 0, 0})
                               << QStringList{raised, "Recv.OnTime=1", "Stan.OnTime=10000"} << stateOnly << 0 << false;
    for (int code : {5, 6, 10, 11, 31})
        QTest::addRow("%d accepted silently", code)
            << "" << replyFrame(uint8_t(code), {1, 2, 3, 4}) << QStringList{raised} << stateOnly << 0 << false;
    QTest::newRow("36 defaults taken") << "" << replyFrame(CMD_DEFAULTS, kZeroData) << QStringList{raised}
                                       << int(ReplyEffect::Defaults) << 0 << false;
    for (int code : {7, 30})
        QTest::addRow("%d clears the refresh", code) << "pending" << replyFrame(uint8_t(code), kZeroData)
                                                     << QStringList{"panelRefreshPending=0"} << stateOnly << 0 << false;
    for (int sensor : {0, 1, 2})
        QTest::addRow("%d cycle reset acknowledged", CMD_CLRCYC0 + sensor)
            << "pending" << replyFrame(uint8_t(CMD_CLRCYC0 + sensor), kZeroData) << QStringList{"panelRefreshPending=0"}
            << int(ReplyEffect::CycleReset) << sensor << false;
    QTest::newRow("8 PK1") << "" << replyFloat(CMD_PK1, 12.3456f)
                           << QStringList{raised, "Recv.PK1=1", "Stan.PK1=12.3456"} << stateOnly << 0 << false;
    QTest::newRow("9 PK2") << "" << replyFloat(CMD_PK2, -7.5f) << QStringList{raised, "Recv.PK2=1", "Stan.PK2=-7.5"}
                           << stateOnly << 0 << false;
    QTest::newRow("12 LED") << "" << replyFrame(CMD_LED, {5, 0, 0, 0})
                            << QStringList{raised, "Recv.LED=1", "Stan.LED=5"} << stateOnly << 0 << false;
    QTest::newRow("13 first arrival") << "" << replyFloat(CMD_UZP0, 12.34567f)
                                      << QStringList{raised, "Recv.UZP[0]=1", "Set.UZP[0]=12.3459997",
                                                     "Stan.UZP[0]=12.3459997"}
                                      << int(ReplyEffect::ZeroPosition) << 0 << false;
    QTest::newRow("13 second arrival") << "recvUZP0" << replyFloat(CMD_UZP0, 1.0f)
                                       << QStringList{raised, "Stan.UZP[0]=1"} << int(ReplyEffect::ZeroPosition) << 0
                                       << false;
    QTest::newRow("15 sensor 2") << "" << replyFloat(CMD_UZP2, 3.0f)
                                 << QStringList{raised, "Recv.UZP[2]=1", "Set.UZP[2]=3", "Stan.UZP[2]=3"}
                                 << int(ReplyEffect::ZeroPosition) << 2 << false;
    QTest::newRow("17 offset") << "" << replyFloat(CMD_OFFSET1, 0.0004f) << QStringList{raised, "Recv.Offset[1]=1"}
                               << int(ReplyEffect::Offset) << 1 << false;
    QTest::newRow("18 offset") << "" << replyFloat(CMD_OFFSET2, 2.0006f)
                               << QStringList{raised, "Recv.Offset[2]=1", "Stan.Offset[2]=2.00099993"}
                               << int(ReplyEffect::Offset) << 2 << false;
    QTest::newRow("19 multiplier") << "" << replyFloat(CMD_COEF0, 2.5f)
                                   << QStringList{raised, "Recv.COEF[0]=1", "Stan.COEF[0]=2.5"}
                                   << int(ReplyEffect::Multiplier) << 0 << false;
    QTest::newRow("21 multiplier") << "" << replyFloat(CMD_COEF2, 0.5f)
                                   << QStringList{raised, "Recv.COEF[2]=1", "Stan.COEF[2]=0.5"}
                                   << int(ReplyEffect::Multiplier) << 2 << false;
    QTest::newRow("22 always writes Set")
        << "recvUZP0" << replyFloat(CMD_ZERO0, 45.25f) << QStringList{raised, "Set.UZP[0]=45.25", "Stan.UZP[0]=45.25"}
        << int(ReplyEffect::Zeroing) << 0 << false;
    QTest::newRow("24 zeroing") << "" << replyFloat(CMD_ZERO2, 1.5f)
                                << QStringList{raised, "Recv.UZP[2]=1", "Set.UZP[2]=1.5", "Stan.UZP[2]=1.5"}
                                << int(ReplyEffect::Zeroing) << 2 << false;
    QTest::newRow("26 presence 1 0 5") << "" << replyFrame(CMD_SENSORS, {1, 0, 5, 2})
                                       << QStringList{"Recv.presenceKnown=1", "Stan.Q_NR=2", "sensorCount=2",
                                                      "sensorPresent[0]=1", "sensorPresent[2]=1"}
                                       << int(ReplyEffect::Sensors) << 0 << false;
    QTest::newRow("32 KS5") << "" << replyFrame(CMD_IDENT, {'K', 'S', '5', 0}) << QStringList{raised, "deviceType=3"}
                            << stateOnly << 0 << false;
    QTest::newRow("32 KQ5") << "" << replyFrame(CMD_IDENT, {'K', 'Q', '5', 0}) << QStringList{raised, "deviceType=1"}
                            << stateOnly << 0 << false;
    QTest::newRow("32 VR5") << "" << replyFrame(CMD_IDENT, {'V', 'R', '5', 0}) << QStringList{raised, "deviceType=2"}
                            << stateOnly << 0 << false;
    QTest::newRow("32 other") << "type3" << replyFrame(CMD_IDENT, {'K', 's', '5', 0})
                              << QStringList{raised, "deviceType=0"} << stateOnly << 0 << false;
    QTest::newRow("34 software") << "" << replyFrame(CMD_SWVER, {12, 1, 1, 1}) << QStringList{raised, "swVersion=12"}
                                 << stateOnly << 0 << false;
    QTest::newRow("35 hardware") << "" << replyFrame(CMD_HWVER, {10, 0, 0, 0}) << QStringList{raised, "hwVersion=10"}
                                 << stateOnly << 0 << false;
    QTest::newRow("37 resolution") << "" << replyFloat(CMD_RES0, 1023.9999f)
                                   << QStringList{raised, "Recv.Res[0]=1", "Stan.Res[0]=1023.99988"}
                                   << int(ReplyEffect::Resolution) << 0 << false;
    QTest::newRow("38 resolution") << "" << replyFloat(CMD_RES1, 4096.0f)
                                   << QStringList{raised, "Recv.Res[1]=1", "Stan.Res[1]=4096"}
                                   << int(ReplyEffect::Resolution) << 1 << false;
    for (int code : {0, 25, 33, 40, 255})
        QTest::addRow("%d bad command", code)
            << "" << replyFrame(uint8_t(code), kZeroData) << QStringList{raised} << stateOnly << 0 << true;
}

void ReplyHandlerTest::dispatch()
{
    QFETCH(QString, start);
    QFETCH(QByteArray, frame);
    QFETCH(QStringList, expected);
    QFETCH(int, effect);
    QFETCH(int, sensor);
    QFETCH(bool, badCommand);

    DeviceState state;
    preset(state, start);
    const auto before = snapshot(state);
    RecordingTrace trace;
    const ReplyEffect result = HandleReplyFrame(bytesOf(frame), state, &trace);

    expected.sort();
    QCOMPARE(changes(before, snapshot(state)), expected);
    QCOMPARE(int(result.kind), effect);
    QCOMPARE(result.sensor, sensor);
    QStringList lines{receivedLine(frame)};
    if (badCommand)
        lines.append("  <<BAD COMMAND :(");
    QCOMPARE(trace.lines, lines);
}

void ReplyHandlerTest::rejectedFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QStringList>("lines");
    QByteArray badSum = replyFrame(CMD_LED, {5, 0, 0, 0});
    badSum[7] = 0x12;
    QTest::newRow("bad checksum") << badSum
                                  << QStringList{"   <<Received Data: 12: 5 0 0 0 ,CRC=18<->17", "  <<BAD CRC :("};
    QByteArray request = replyFrame(CMD_LED, {5, 0, 0, 0});
    request[0] = request[1] = char(0xF1);
    QTest::newRow("request start bytes") << request << QStringList{};
    QByteArray unequal = replyFrame(CMD_LED, {5, 0, 0, 0});
    unequal[1] = char(0xF2);
    QTest::newRow("unequal start bytes") << unequal << QStringList{};
}

void ReplyHandlerTest::rejectedFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QStringList, lines);
    DeviceState state;
    const auto before = snapshot(state);
    RecordingTrace trace;
    const ReplyEffect result = HandleReplyFrame(bytesOf(frame), state, &trace);
    QCOMPARE(int(result.kind), int(ReplyEffect::Dropped));
    QCOMPARE(changes(before, snapshot(state)), QStringList{});
    QCOMPARE(trace.lines, lines);
}

void ReplyHandlerTest::resolutionSteps_data()
{
    QTest::addColumn<int>("sensor");
    QTest::addColumn<float>("value");
    QTest::addColumn<qlonglong>("steps");
    QTest::newRow("sensor 0 truncates") << 0 << 1023.9999f << 1023LL;
    QTest::newRow("sensor 1 rounds first") << 1 << 1023.9999f << 1024LL;
    QTest::newRow("sensor 2 rounds first") << 2 << 4095.9999f << 4096LL;
    QTest::newRow("beyond the arrows") << 0 << 32768.0f << 32768LL;
    QTest::newRow("negative") << 1 << -3.7f << -3LL;
    QTest::newRow("not a number") << 0 << std::numeric_limits<float>::quiet_NaN() << 0LL;
    QTest::newRow("infinite") << 1 << std::numeric_limits<float>::infinity() << 0LL;
}

void ReplyHandlerTest::resolutionSteps()
{
    QFETCH(int, sensor);
    QFETCH(float, value);
    QFETCH(qlonglong, steps);
    QCOMPARE(::resolutionSteps(sensor, value), steps);
}

void ReplyHandlerTest::activeBoxesFollowPresenceFromTheSecondReply()
{
    DeviceState state;
    const QByteArray frame = replyFrame(CMD_SENSORS, {1, 1, 0, 0});
    const auto *p = bytesOf(frame);
    QVERIFY(!HandleReplyFrame(p, state, nullptr).setActiveBoxes);
    QVERIFY(HandleReplyFrame(p, state, nullptr).setActiveBoxes);
    QCOMPARE(state.sensorCount, 2.0f);
}

void ReplyHandlerTest::hiddenTraceGetsNothing()
{
    DeviceState state;
    RecordingTrace trace;
    trace.shown = false;
    const QByteArray frame = replyFrame(40, kZeroData);
    HandleReplyFrame(bytesOf(frame), state, &trace);
    QByteArray bad = replyFrame(CMD_LED, {1, 0, 0, 0});
    bad[7] = 0;
    HandleReplyFrame(bytesOf(bad), state, &trace);
    QVERIFY(trace.lines.isEmpty());
    QVERIFY(state.panelRefreshPending);
}

QTEST_APPLESS_MAIN(ReplyHandlerTest)
#include "tst_replyhandler.moc"

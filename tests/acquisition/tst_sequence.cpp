#include "ConnectionSequence.h"
#include "DeviceSnapshot.h"
#include "FrameBuilders.h"
#include "ProtocolFrame.h"
#include "ReplyHandler.h"

#include <QtTest>

using namespace kx;

namespace {

/// The instrument's answer to a read: the identity of a KX520S, version 1.2, and for
/// every parameter a value that differs from the default.
void answer(DeviceState &device, uint8_t request)
{
    FrameData data{3, 0, 0, 0};
    if (request == CMD_IDENT)
        data = {'K', 'S', '5', 0};
    else if (request == CMD_HWVER || request == CMD_SWVER)
        data = {12, 0, 0, 0};
    else if (request >= CMD_UZP0 && request <= CMD_UZP2)
        data = packedData(1.5f + request);
    else if ((request >= CMD_OFFSET0 && request <= CMD_OFFSET2) || (request >= CMD_COEF0 && request <= CMD_COEF2) ||
             (request >= CMD_RES0 && request <= CMD_RES2) || request == CMD_PK1 || request == CMD_PK2)
        data = packedData(float(request) * 16);
    const QByteArray frame = replyFrame(request, data);
    HandleReplyFrame(bytesOf(frame), device, nullptr);
}

/// A sequence begun and answered up to, not including, `step`.
struct Fixture {
    DeviceState device;
    ConnectionState connection;
    ConnectionSequence sequence;

    explicit Fixture(int step)
    {
        sequence.begin();
        sequence.tick(device, connection);
        for (int s = WizardFirstWait; s < step; ++s) {
            answer(device, wizardWait(s)->request);
            const SequenceTick tick = sequence.tick(device, connection);
            if (tick.completedStep != s)
                qFatal("step %d did not complete on its answer", s);
        }
    }
};

void raiseEveryFlag(ParamFlags &f)
{
    f.PK1 = f.PK2 = f.LED = f.decp = f.Beep = f.mode = f.OnTime = f.presenceKnown = true;
    for (int i = 0; i < 3; ++i)
        f.UZP[i] = f.Offset[i] = f.COEF[i] = f.Res[i] = true;
}

} // namespace

class SequenceTest : public QObject {
    Q_OBJECT

private slots:
    void identificationStartsIt();
    void steps_data();
    void steps();
    void finishAdoptsReportedValuesButResolutions();
    void forgetParametersKeepsPresenceAndResolutions();
};

void SequenceTest::identificationStartsIt()
{
    DeviceState device;
    device.deviceType = DeviceKX520S; // left from an earlier connection
    ConnectionState connection;
    ConnectionSequence sequence;
    QCOMPARE(sequence.tick(device, connection).request, std::nullopt); // idle does nothing
    sequence.begin();
    const SequenceTick tick = sequence.tick(device, connection);
    QCOMPARE(tick.request, std::optional<uint8_t>(CMD_IDENT));
    QCOMPARE(tick.completedStep, int(WizardIdentify));
    QVERIFY(!tick.showFailure);
    QCOMPARE(device.deviceType, int32_t(DeviceUnknown));
    QCOMPARE(sequence.step(), int(WizardFirstWait));
}

void SequenceTest::steps_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("failingTick"); ///< the first unanswered tick that shows the failure
    const uint8_t requests[] = {CMD_IDENT, CMD_HWVER, CMD_SWVER,   CMD_SENSORS, CMD_ONTIME,  CMD_MODE,
                                CMD_PK1,   CMD_PK2,   CMD_LED,     CMD_BEEP,    CMD_DECP,    CMD_UZP0,
                                CMD_UZP1,  CMD_UZP2,  CMD_OFFSET0, CMD_OFFSET1, CMD_OFFSET2, CMD_COEF0,
                                CMD_COEF1, CMD_COEF2, CMD_RES0,    CMD_RES1,    CMD_RES2};
    for (int step = WizardFirstWait; step <= WizardLastWait; ++step)
        QTest::addRow("step %d", step) << step << int(requests[step - WizardFirstWait])
                                       << (step == WizardFirstWait ? 5 : 10) << (step == WizardFirstWait ? 6 : 10);
}

void SequenceTest::steps()
{
    QFETCH(int, step);
    QFETCH(int, request);
    QFETCH(int, limit);
    QFETCH(int, failingTick);
    QCOMPARE(int(wizardWait(step)->request), request);
    QCOMPARE(wizardWait(step)->tickLimit, limit);

    Fixture f(step);
    QCOMPARE(f.sequence.step(), step);
    // The tick that completed the step before counts for this one already.
    QCOMPARE(f.sequence.ticks(), step == WizardFirstWait ? 0 : 1);
    // Unanswered: asked on every tick, the failure shown once past the limit.
    for (int tick = 1; tick <= failingTick + 2; ++tick) {
        const SequenceTick result = f.sequence.tick(f.device, f.connection);
        QCOMPARE(result.request, std::optional<uint8_t>(request));
        QCOMPARE(result.showFailure, tick >= failingTick);
        QCOMPARE(result.completedStep, 0);
    }
    QCOMPARE(f.sequence.step(), step);

    // A late answer still completes the step, and the next step's count starts afresh.
    answer(f.device, uint8_t(request));
    const SequenceTick done = f.sequence.tick(f.device, f.connection);
    QCOMPARE(done.completedStep, step);
    QCOMPARE(done.request, std::nullopt);
    QCOMPARE(f.sequence.step(), step + 1);
    QVERIFY(!f.connection.deviceFound);
}

void SequenceTest::finishAdoptsReportedValuesButResolutions()
{
    Fixture f(WizardFinish);
    QCOMPARE(f.sequence.step(), int(WizardFinish));
    for (float &res : f.device.Set.Res)
        res = 1024;
    f.connection.portOpen = f.connection.baudChosen = f.connection.portChosen = false;
    const auto before = snapshot(f.device);

    const SequenceTick tick = f.sequence.tick(f.device, f.connection);
    QVERIFY(tick.finished);
    QCOMPARE(tick.completedStep, int(WizardFinish));
    QVERIFY(!tick.showFailure);
    QVERIFY(!f.sequence.running());
    QVERIFY(f.connection.deviceFound && f.connection.portOpen && f.connection.baudChosen && f.connection.portChosen);

    const auto after = snapshot(f.device);
    int adopted = 0;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!it.key().startsWith("Set."))
            continue;
        const QString member = it.key().mid(4);
        if (member.startsWith("Res"))
            QCOMPARE(it.value(), before[it.key()]);
        else
            QCOMPARE(it.value(), after["Stan." + member]);
        adopted += before[it.key()] != it.value();
    }
    QVERIFY(adopted > 0); // the reported values were not the wanted ones before
    QCOMPARE(f.device.Set.Res[0], 1024.0f);
    QVERIFY(f.device.Stan.Res[0] != 1024.0f);
}

void SequenceTest::forgetParametersKeepsPresenceAndResolutions()
{
    DeviceState device;
    const auto before = snapshot(device);
    raiseEveryFlag(device.Recv);
    ConnectionSequence::forgetParameters(device);
    QCOMPARE(changes(before, snapshot(device)),
             (QStringList{"Recv.Res[0]=1", "Recv.Res[1]=1", "Recv.Res[2]=1", "Recv.presenceKnown=1"}));
}

QTEST_APPLESS_MAIN(SequenceTest)
#include "tst_sequence.moc"

#include "DeviceLink.h"
#include "EventLoop.h"
#include "FrameBuilders.h"
#include "PtyInstrument.h"
#include "PtyPair.h"
#include "RecordingTrace.h"
#include "SimInstrument.h"

#include <QtTest>
#include <algorithm>
#include <cmath>

using namespace kx;

namespace {

QByteArray request(uint8_t kind, uint8_t cmd, const FrameData &data = kZeroData)
{
    const ProtocolFrame frame = buildFrame(kind, cmd, data);
    return QByteArray(reinterpret_cast<const char *>(frame.data()), kFrameSize);
}

/// The device service on a pseudo-terminal whose far end the test plays.
struct Line {
    PtyPair pty;
    RecordingTrace trace;
    std::atomic<double> now{1000}; ///< the pacing's clock, moved by the test; read by its thread
    DeviceLink link{[this] { return now.load(); }};

    Line()
    {
        link.setTrace(&trace);
        if (link.open(QString::fromLatin1(pty.portName()), 57600, true) != 0)
            qFatal("the pseudo-terminal did not open");
        runUntil([this] { return link.port().running(); }, 1000);
    }

    /// The instrument answers its identification, as a simulated one would.
    bool identify()
    {
        SimInstrument instrument;
        const QByteArray ask = request(FRAME_READ, CMD_IDENT);
        const std::vector<uint8_t> reply = instrument.handleRequest(reinterpret_cast<const uint8_t *>(ask.constData()));
        pty.write(QByteArray(reinterpret_cast<const char *>(reply.data()), int(reply.size())));
        return runUntil([this] { return link.device().deviceType != 0; }, 1000);
    }

    /// The next request the port writes, within the time given; the event loop runs meanwhile.
    QByteArray nextRequest(int waitMs)
    {
        QByteArray got;
        runUntil([&] { return (got += pty.read(1, 8 - int(got.size()))).size() >= 8; }, waitMs);
        return got;
    }
};

/// The device service on the simulated instrument, answering at the pace of a 57600 bit/s
/// line, with a slot that holds the user-interface thread as drawing a big chart might.
struct HeldLine {
    PtyInstrument instrument;
    DeviceLink link;
    int samples = 0;

    HeldLine()
    {
        instrument.setFaults({.lineTiming = true});
        if (link.open(QString::fromStdString(instrument.portName()), 57600, true) != 0)
            qFatal("the simulated instrument's line did not open");
        runUntil([this] { return link.port().running(); }, 1000);
        link.sendRead(CMD_IDENT);
        runUntil([this] { return link.device().deviceType != 0; }, 2000);
    }

    /// Samples until `count` have come; at the `holdAt`th the slot sends a write and then holds
    /// the thread for `holdMs`. Returns the requests the instrument took meanwhile.
    std::vector<PtyInstrument::LoggedRequest> sample(bool continuous, int periodMs, int count, int holdAt, int holdMs)
    {
        QObject context;
        QObject::connect(&link, &DeviceLink::sampleDecoded, &context, [=, this] {
            if (++samples != holdAt)
                return;
            link.sendWrite(CMD_BEEP, {0, 0, 0, 1});
            QThread::msleep(holdMs);
        });
        instrument.startRequestLog();
        link.setSampling(continuous, periodMs);
        link.startAcquisition();
        runUntil([&] { return samples >= count; }, 20000);
        link.stopAcquisition();
        runFor(100); // the last answer in flight comes in
        return instrument.requestLog();
    }

    /// The longest time between two measurement requests.
    static double longestGapMs(const std::vector<PtyInstrument::LoggedRequest> &log)
    {
        double longest = 0;
        const PtyInstrument::LoggedRequest *previous = nullptr;
        for (const auto &request : log) {
            if (request.cmd != CMD_MEASURE)
                continue;
            if (previous)
                longest =
                    std::max(longest, std::chrono::duration<double, std::milli>(request.at - previous->at).count());
            previous = &request;
        }
        return longest;
    }
};

} // namespace

class DeviceLinkTest : public QObject {
    Q_OBJECT

private slots:
    // What keeps the line busy while the pages work on a sample: in continuous sampling the
    // request for the next one is in the port before any slot of the sample runs.
    void nextContinuousRequestIsOnItsWayBeforeTheSampleIsTaken()
    {
        Line line;
        QVERIFY(line.identify());
        line.link.setSampling(true, 10);
        line.link.startAcquisition();
        const QByteArray measure = request(FRAME_READ, CMD_MEASURE);
        QCOMPARE(line.nextRequest(1000), measure); // sent by the pacing from the event loop
        QByteArray arrivedMeanwhile;
        int samples = 0;
        connect(&line.link, &DeviceLink::sampleDecoded, this, [&] {
            ++samples;
            // Nothing can arrive here that was handed to the port after this slot.
            arrivedMeanwhile = line.pty.read(500, 8);
        });
        line.pty.write(measurementFrame(0x07, {1.0f, 2.0f, 3.0f}));
        QVERIFY(runUntil([&] { return samples == 1; }, 2000));
        QCOMPARE(arrivedMeanwhile, measure);
    }

    // The pacing runs only when a request is due: a pause must still count the time run since
    // the last one, or the acquisition time loses it and the next request comes a period late.
    void pauseCountsTheTimeSinceTheLastRequest()
    {
        Line line;
        QVERIFY(line.identify());
        line.link.setSampling(false, 10000);
        line.link.startAcquisition();
        const QByteArray measure = request(FRAME_READ, CMD_MEASURE);
        QCOMPARE(line.nextRequest(1000), measure);
        line.now += 9.9;
        line.link.pauseAcquisition();
        QVERIFY(std::abs(line.link.acquisitionTime() - 9.9) < 1e-9);
        line.now += 60; // paused: none of this counts
        line.link.pauseAcquisition();
        QVERIFY(std::abs(line.link.acquisitionTime() - 9.9) < 1e-9);
        line.now += 0.1; // the period is complete
        QCOMPARE(line.nextRequest(1000), measure);
        QVERIFY(std::abs(line.link.acquisitionTime() - 10.0) < 1e-9);
    }

    // Identified again during a run (the wizard connects anew), the acquisition goes on.
    void identifiedAgainTheRunGoesOn()
    {
        Line line;
        QVERIFY(line.identify());
        line.link.setSampling(true, 10);
        line.link.startAcquisition();
        const QByteArray measure = request(FRAME_READ, CMD_MEASURE);
        QCOMPARE(line.nextRequest(1000), measure);
        ConnectionSequence sequence;
        sequence.begin();
        line.link.connectionStep(sequence); // the type is forgotten, identification asked
        QCOMPARE(line.link.device().deviceType, 0);
        line.pty.write(measurementFrame(0x07, {1.0f, 2.0f, 3.0f})); // the answer to the first
        QCOMPARE(line.nextRequest(1000), request(FRAME_READ, CMD_IDENT));
        QVERIFY(line.nextRequest(200).isEmpty()); // nothing measured while unknown
        QVERIFY(line.identify());
        QCOMPARE(line.nextRequest(1000), measure);
    }

    // Requests offered while another is on the line wait for it; none is lost, and the
    // monitor lists each once it has left, in order.
    void requestsOfferedTogetherAllLeaveInOrder()
    {
        Line line;
        line.link.sendRead(CMD_LED);
        line.link.sendWrite(CMD_BEEP, {0, 0, 0, 1});
        line.link.sendRead(CMD_PK1);
        const QByteArray expected =
            request(FRAME_READ, CMD_LED) + request(FRAME_WRITE, CMD_BEEP, {0, 0, 0, 1}) + request(FRAME_READ, CMD_PK1);
        // No answers come: each waits out the previous one's answer time.
        QCOMPARE(line.pty.read(2000, 24), expected);
        QVERIFY(runUntil([&] { return line.trace.lines.size() == 3; }, 1000));
        QCOMPARE(line.trace.lines,
                 (QStringList{">sending read cmd: 12: 0 0 0 0 ,CRC=12", ">sending write cmd: 3: 0 0 0 1 ,CRC=4",
                              ">sending read cmd: 8: 0 0 0 0 ,CRC=8"}));
    }

    // The next continuous request leaves as soon as a frame is whole, whatever the window is
    // doing: none lost while it is held, none doubled, and a write queued meanwhile keeps
    // its place between two measurements.
    void continuousRequestsLeaveWhileTheWindowIsHeld()
    {
        HeldLine line;
        QVERIFY(line.link.device().deviceType != 0);
        const auto log = line.sample(true, 10, 150, 20, 200);
        const auto measured = std::count_if(log.begin(), log.end(), [](auto &r) { return r.cmd == CMD_MEASURE; });
        QVERIFY2(HeldLine::longestGapMs(log) < 100, qPrintable(QString::number(HeldLine::longestGapMs(log))));
        QCOMPARE(line.samples, int(measured)); // every answer decoded, none asked twice
        QCOMPARE(line.link.acquisition().bledna_transmisja, 0);
        const auto write = std::find_if(log.begin(), log.end(), [](auto &r) { return r.cmd == CMD_BEEP; });
        QVERIFY(write != log.end() && write != log.begin() && write + 1 != log.end());
        QCOMPARE((write - 1)->cmd, CMD_MEASURE);
        QCOMPARE((write + 1)->cmd, CMD_MEASURE);
        QCOMPARE(std::count_if(log.begin(), log.end(), [](auto &r) { return r.cmd == CMD_BEEP; }), 1);
    }

    // Timed sampling keeps its period while the window is held.
    void timedRequestsKeepTheirPeriodWhileTheWindowIsHeld()
    {
        HeldLine line;
        QVERIFY(line.link.device().deviceType != 0);
        const auto log = line.sample(false, 10, 60, 10, 200);
        QVERIFY2(HeldLine::longestGapMs(log) < 100, qPrintable(QString::number(HeldLine::longestGapMs(log))));
    }

    void hiddenMonitorGetsNothing()
    {
        Line line;
        line.trace.shown = false;
        line.link.sendWrite(CMD_PK1, packedData(1.5f));
        QCOMPARE(line.pty.read(1000, 8).size(), 8);
        runFor(100);
        QVERIFY(line.trace.lines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DeviceLinkTest)
#include "tst_devicelink.moc"

#include "FrameBuilders.h"
#include "FrameCompletion.h"
#include "PortRecorder.h"
#include "PtyPair.h"
#include "SerialDevice.h"
#include "Tserial_event.h"

#include <QElapsedTimer>
#include <QtTest>
#include <fcntl.h>
#include <semaphore>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

int openPort(Tserial_event &port, const PtyPair &pty, int readSize = 64)
{
    port.setReadSize(readSize);
    return port.open(pty.portName().constData(), 57600, 0, 8, false);
}

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

} // namespace

class SerialPortTest : public QObject {
    Q_OBJECT

private slots:
    void portNamesMapToDevices_data();
    void portNamesMapToDevices();
    void openReportsItsResult();
    void overlongNameIsRefusedAndStoredCut();
    void readSizeIsLimited();
    void readGap_data();
    void readGap();
    void fullReadCompletesBeforeTheGap();
    void wholeFrameCompletesTheRead_data();
    void wholeFrameCompletesTheRead();
    void nextBurstWaitsForRxDone();
    void sendWritesBlocksUpTo255Bytes();
    void blocksWhileWritingLeaveInTurn();
    void answerWaitHoldsTheNextBlock();
    void sendWhileClosedLeavesNothingBehind();
    void vanishedFarEndEndsWorkerAndPortReopens();
    void hangUpWhileNoReadIsPendingEndsQuietly();
    void terminalHangUpEndsWorker();
    void stopWinsOverFinishedRead();
    void destroyWithPortOpenDeliversNothing();
};

void SerialPortTest::portNamesMapToDevices_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("COM1") << QByteArray("COM1") << "/dev/ttyS0";
    QTest::newRow("COM16") << QByteArray("COM16") << "/dev/ttyS15";
    QTest::newRow("usb") << QByteArray("ttyUSB0") << "/dev/ttyUSB0";
    QTest::newRow("pty") << QByteArray("pts/7") << "/dev/pts/7";
    QTest::newRow("COM0 is just a name") << QByteArray("COM0") << "/dev/COM0";
    QTest::newRow("climbing out of /dev") << QByteArray("../etc") << "";
    QTest::newRow("absolute") << QByteArray("/etc/x") << "";
    QTest::newRow("empty") << QByteArray("") << "";
}

void SerialPortTest::portNamesMapToDevices()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, path);
    QCOMPARE(QString::fromStdString(SerialDevice::devicePath(name.constData())), path);
}

void SerialPortTest::openReportsItsResult()
{
    Tserial_event port;
    QCOMPARE(port.open(nullptr, 57600, 0, 8, false), int(Tserial_event::NoPortName));
    QCOMPARE(port.open("", 57600, 0, 8, false), int(Tserial_event::NoPortName));
    QCOMPARE(port.open("ttyNONE9", 57600, 0, 8, false), int(Tserial_event::OpenFailed));
    QVERIFY(!port.running());

    PtyPair pty;
    QVERIFY(pty.ok());
    PortRecorder recorder(port);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));
    QCOMPARE(QByteArray(port.portName()), pty.portName());
    QCOMPARE(port.baudRate(), 57600);

    // Exclusive: a second object cannot take the same port.
    Tserial_event other;
    QCOMPARE(other.open(pty.portName().constData(), 57600, 0, 8, false), int(Tserial_event::OpenFailed));

    port.close();
    QVERIFY(recorder.waitFor(Tserial_event::PortClosed, 1, 1000));
    QCOMPARE(recorder.codes(), (QList<int>{Tserial_event::PortOpened, Tserial_event::PortClosed}));
    QVERIFY(!port.endedByLoss());
}

void SerialPortTest::overlongNameIsRefusedAndStoredCut()
{
    Tserial_event port;
    QCOMPARE(port.open("ttyUSB0123456789abcdef", 57600, 0, 8, false), int(Tserial_event::OpenFailed));
    QCOMPARE(QByteArray(port.portName()), QByteArray("ttyUSB012"));
}

void SerialPortTest::readSizeIsLimited()
{
    Tserial_event port;
    port.setReadSize(5000);
    QCOMPARE(port.readSize(), 1024);
    port.setReadSize(0);
    QCOMPARE(port.readSize(), 1);
    port.setReadSize(64);
    QCOMPARE(port.readSize(), 64);
}

void SerialPortTest::readGap_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<QByteArrayList>("bursts");
    const QByteArray frame = QByteArray::fromHex("F3F30C0500000011");
    QByteArrayList bytes;
    for (char byte : frame)
        bytes << QByteArray(1, byte);
    QTest::newRow("byte by byte, 5 ms apart") << bytes << 5 << QByteArrayList{frame};
    QTest::newRow("30 ms apart: inside the gap")
        << QByteArrayList{"first", "second"} << 30 << QByteArrayList{"firstsecond"};
    QTest::newRow("90 ms apart: past the gap")
        << QByteArrayList{"first", "second"} << 90 << QByteArrayList{"first", "second"};
}

void SerialPortTest::readGap()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(int, pauseMs);
    QFETCH(QByteArrayList, bursts);
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));

    for (const QByteArray &piece : pieces) {
        pty.write(piece);
        QThread::msleep(pauseMs);
    }
    QVERIFY(recorder.waitFor(Tserial_event::DataArrived, int(bursts.size()), 1000));
    QThread::msleep(100); // a wrongly split last piece would arrive by now
    QCOMPARE(recorder.bursts(), QList<QByteArray>(bursts));
}

void SerialPortTest::fullReadCompletesBeforeTheGap()
{
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));

    QElapsedTimer timer;
    timer.start();
    pty.write(QByteArray(100, 'x'));
    QVERIFY(recorder.waitFor(Tserial_event::DataArrived, 1, 1000));
    QVERIFY2(timer.elapsed() < Tserial_event::kReadGapMs, "a full read must not wait for the gap");
    QVERIFY(recorder.waitFor(Tserial_event::DataArrived, 2, 1000));
    const auto bursts = recorder.bursts();
    QCOMPARE(bursts.value(0).size(), 64);
    QCOMPARE(bursts.value(1).size(), 36);
}

void SerialPortTest::wholeFrameCompletesTheRead_data()
{
    QTest::addColumn<QByteArrayList>("pieces"); ///< written one after the other, `pauseMs` apart
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<QByteArrayList>("bursts");
    QTest::addColumn<bool>("beforeTheGap"); ///< the last burst is handed over without waiting out the gap

    const QByteArray reply = replyFrame(kx::CMD_PK1, kx::packedData(12.5f));
    QTest::newRow("reply frame") << QByteArrayList{reply} << 0 << QByteArrayList{reply} << true;
    const struct {
        const char *name;
        uint8_t status;
        int values;
    } measurements[] = {
        {"no sensor, 3 bytes", 0x30, 0},      {"one sensor, 7 bytes", 0x01, 1},
        {"two sensors, 11 bytes", 0x05, 2},   {"one sensor with cycles, 11 bytes", 0x0A, 2},
        {"three sensors, 15 bytes", 0x17, 3}, {"three sensors with cycles, 27 bytes", 0x0F, 6},
    };
    for (const auto &m : measurements) {
        QByteArray frame = measurementFrame(m.status, {});
        for (int i = 0; i < m.values; ++i)
            frame += QByteArray::fromHex("0000C842");
        QTest::newRow(m.name) << QByteArrayList{frame} << 0 << QByteArrayList{frame} << true;
    }
    QTest::newRow("frame in two pieces 10 ms apart")
        << QByteArrayList{reply.left(3), reply.mid(3)} << 10 << QByteArrayList{reply} << true;
    QTest::newRow("frame split over two reads is not glued")
        << QByteArrayList{reply.left(5), reply.mid(5)} << 90 << QByteArrayList{reply.left(5), reply.mid(5)} << false;
    QTest::newRow("frame followed by garbage")
        << QByteArrayList{reply + "xyz"} << 0 << QByteArrayList{reply + "xyz"} << false;
    QTest::newRow("garbage alone") << QByteArrayList{"garbage"} << 0 << QByteArrayList{"garbage"} << false;
    QTest::newRow("equal start bytes, 7 bytes")
        << QByteArrayList{reply.left(7)} << 0 << QByteArrayList{reply.left(7)} << false;
    QTest::newRow("64 bytes with no frame")
        << QByteArrayList{QByteArray(64, 'x')} << 0 << QByteArrayList{QByteArray(64, 'x')} << true;
}

void SerialPortTest::wholeFrameCompletesTheRead()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(int, pauseMs);
    QFETCH(QByteArrayList, bursts);
    QFETCH(bool, beforeTheGap);
    PtyPair pty;
    Tserial_event port;
    port.setCompletionRule(&isWholeFrame);
    PortRecorder recorder(port);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));

    QElapsedTimer sinceLastPiece;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            QThread::msleep(pauseMs);
        sinceLastPiece.start();
        pty.write(pieces[i]);
    }
    QVERIFY(recorder.waitFor(Tserial_event::DataArrived, int(bursts.size()), 1000));
    const qint64 elapsed = sinceLastPiece.elapsed();
    if (beforeTheGap)
        QVERIFY2(elapsed < Tserial_event::kReadGapMs - 20, qPrintable(QString::number(elapsed)));
    else
        QVERIFY2(elapsed >= Tserial_event::kReadGapMs - 5, qPrintable(QString::number(elapsed)));
    QThread::msleep(100); // a wrongly split burst would arrive by now
    QCOMPARE(recorder.bursts(), QList<QByteArray>(bursts));
}

void SerialPortTest::nextBurstWaitsForRxDone()
{
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port, /*releaseReads=*/false);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));

    pty.write("one");
    QVERIFY(recorder.waitFor(Tserial_event::DataArrived, 1, 1000));
    pty.write("two");
    QVERIFY(!recorder.waitFor(Tserial_event::DataArrived, 2, 200));
    port.rxDone();
    QVERIFY(recorder.waitFor(Tserial_event::DataArrived, 2, 1000));
    QCOMPARE(recorder.bursts(), (QList<QByteArray>{"one", "two"}));
}

void SerialPortTest::sendWritesBlocksUpTo255Bytes()
{
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));

    const QByteArray tooLong(256, 'L');
    port.send(tooLong.constData(), tooLong.size());
    port.send(nullptr, 8);
    QCOMPARE(pty.read(100), QByteArray());
    QCOMPARE(recorder.count(Tserial_event::WriteDone), 0);

    const QByteArray block(255, 'b');
    port.send(block.constData(), block.size());
    QCOMPARE(pty.read(1000, 255), block);
    QVERIFY(recorder.waitFor(Tserial_event::WriteDone, 1, 1000));
}

void SerialPortTest::blocksWhileWritingLeaveInTurn()
{
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port);
    std::binary_semaphore release(0);
    // Hold the worker in its first notification so that every block is handed over while
    // the first is still waiting to go.
    recorder.hook = [&](int code) {
        if (code == Tserial_event::PortOpened)
            release.acquire();
    };
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));
    port.send("AAAAAAAA", 8);
    port.send("BBBBBBBB", 8);
    port.send("CCCCCCCC", 8);
    release.release();
    QCOMPARE(pty.read(1000, 24), QByteArray("AAAAAAAABBBBBBBBCCCCCCCC"));
    QVERIFY(recorder.waitFor(Tserial_event::WriteDone, 3, 1000));
    QCOMPARE(recorder.written(), (QList<QByteArray>{"AAAAAAAA", "BBBBBBBB", "CCCCCCCC"}));

    port.send("DDDDDDDD", 8); // the line is free again
    QCOMPARE(pty.read(1000, 8), QByteArray("DDDDDDDD"));
}

void SerialPortTest::answerWaitHoldsTheNextBlock()
{
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port);
    port.setAnswerWait(300);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));
    port.send("ASK-ONE!", 8);
    port.send("ASK-TWO!", 8);
    port.send("ASK-3!!!", 8);
    QCOMPARE(pty.read(1000, 8), QByteArray("ASK-ONE!"));
    QCOMPARE(pty.read(150), QByteArray()); // no answer yet: the second waits
    pty.write("answer");
    QCOMPARE(pty.read(1000, 8), QByteArray("ASK-TWO!")); // released by the answer
    QElapsedTimer unanswered;
    unanswered.start();
    QCOMPARE(pty.read(1000, 8), QByteArray("ASK-3!!!")); // released by the deadline
    QVERIFY2(unanswered.elapsed() >= 200, qPrintable(QString::number(unanswered.elapsed())));
}

void SerialPortTest::sendWhileClosedLeavesNothingBehind()
{
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port);
    port.send("STALE!!!", 8);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));
    QCOMPARE(pty.read(200), QByteArray());
    port.send("FRESH!!!", 8);
    QCOMPARE(pty.read(1000, 8), QByteArray("FRESH!!!"));
}

void SerialPortTest::vanishedFarEndEndsWorkerAndPortReopens()
{
    Tserial_event port;
    PortRecorder recorder(port);
    {
        PtyPair pty;
        QCOMPARE(openPort(port, pty), 0);
        QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));
        pty.closeMaster();
        QVERIFY(recorder.waitFor(Tserial_event::PortClosed, 1, 1000));
        QVERIFY(port.endedByLoss());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!port.running(), 1000);
    port.send("AFTER!!!", 8); // no worker: dropped, not left pending

    PtyPair next;
    QCOMPARE(openPort(port, next), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 2, 1000));
    QCOMPARE(next.read(200), QByteArray());
    next.write("hello");
    QVERIFY(recorder.waitFor(Tserial_event::DataArrived, 1, 1000));
    QCOMPARE(recorder.bursts(), QList<QByteArray>{"hello"});
}

void SerialPortTest::hangUpWhileNoReadIsPendingEndsQuietly()
{
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port, /*releaseReads=*/false);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));
    pty.write("held");
    QVERIFY(recorder.waitFor(Tserial_event::DataArrived, 1, 1000));

    pty.closeMaster();
    const double cpuBefore = processCpuSeconds();
    QThread::msleep(300);
    QVERIFY2(processCpuSeconds() - cpuBefore < 0.05, "the worker must not spin on a hang-up");
    QCOMPARE(recorder.count(Tserial_event::PortClosed), 0);

    port.rxDone(); // the next read fails at once
    QVERIFY(recorder.waitFor(Tserial_event::PortClosed, 1, 1000));
    QVERIFY(port.endedByLoss());
}

void SerialPortTest::terminalHangUpEndsWorker()
{
    // A USB adapter that is pulled out hangs its terminal up: POLLHUP and reads of 0 bytes.
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port);
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));
    const int slave = ::open(("/dev/" + pty.portName()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0)
        QSKIP("the port is held exclusively and this user may not override that");
    const int hungUp = ioctl(slave, TIOCVHANGUP);
    ::close(slave);
    if (hungUp != 0)
        QSKIP("hanging a terminal up needs administrator rights");
    QVERIFY(recorder.waitFor(Tserial_event::PortClosed, 1, 1000));
    QVERIFY(port.endedByLoss());
    QTRY_VERIFY_WITH_TIMEOUT(!port.running(), 1000);
}

void SerialPortTest::stopWinsOverFinishedRead()
{
    PtyPair pty;
    Tserial_event port;
    PortRecorder recorder(port);
    std::atomic<bool> inWriteDone{false};
    recorder.hook = [&](int code) {
        if (code != Tserial_event::WriteDone)
            return;
        // A full read lands in the driver while the owner asks the worker to stop.
        pty.write(QByteArray(64, 'd'));
        inWriteDone = true;
        QThread::msleep(150);
    };
    QCOMPARE(openPort(port, pty), 0);
    QVERIFY(recorder.waitFor(Tserial_event::PortOpened, 1, 1000));
    port.send("request!", 8);
    QTRY_VERIFY_WITH_TIMEOUT(inWriteDone.load(), 1000);
    port.close();
    QVERIFY(recorder.waitFor(Tserial_event::PortClosed, 1, 1000));
    QCOMPARE(recorder.count(Tserial_event::DataArrived), 0);
    QVERIFY(!port.endedByLoss());
}

void SerialPortTest::destroyWithPortOpenDeliversNothing()
{
    PtyPair pty;
    QList<int> codes;
    std::mutex mutex;
    QElapsedTimer timer;
    {
        Tserial_event port;
        port.setNotifier([&](Tserial_event *, int code) {
            std::lock_guard lock(mutex);
            codes.append(code);
        });
        QCOMPARE(openPort(port, pty), 0);
        QTRY_VERIFY_WITH_TIMEOUT(port.running(), 1000);
        timer.start();
    }
    QVERIFY2(timer.elapsed() < 500, "destruction must not sit out the worker wait");
    std::lock_guard lock(mutex);
    QCOMPARE(codes, QList<int>{Tserial_event::PortOpened});
}

QTEST_GUILESS_MAIN(SerialPortTest)
#include "tst_serialport.moc"

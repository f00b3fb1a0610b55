#include "PtyInstrument.h"
#include "HexBytes.h"

#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString kLedRead = "F1 F1 0C 00 00 00 00 0C";
const QString kLedReply = "F3 F3 0C 05 00 00 00 11";

} // namespace

/// Talks to the simulated instrument as the program does: through the terminal's slave side.
class PtyInstrumentTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PtyInstrument> sim;
    int port = -1;

    int openPort() const
    {
        return ::open(("/dev/" + sim->portName()).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }

    void send(const QString &frame)
    {
        const std::vector<uint8_t> data = bytes(frame);
        QCOMPARE(::write(port, data.data(), data.size()), ssize_t(data.size()));
    }

    /// One burst as the program's port reads it: whatever arrives until 50 ms pass without a
    /// byte; empty when nothing arrives within `firstByteMs`.
    QString receive(int firstByteMs = 300)
    {
        std::vector<uint8_t> burst;
        pollfd fd{port, POLLIN, 0};
        for (int timeout = firstByteMs; ::poll(&fd, 1, timeout) > 0; timeout = 50) {
            uint8_t buffer[64];
            const ssize_t n = ::read(port, buffer, sizeof buffer);
            if (n <= 0)
                break;
            burst.insert(burst.end(), buffer, buffer + n);
        }
        return hex(burst);
    }

private slots:
    void init()
    {
        sim = std::make_unique<PtyInstrument>();
        port = openPort();
        QVERIFY2(port >= 0, qPrintable(QString::fromStdString(sim->portName())));
    }

    void cleanup()
    {
        ::close(port);
        sim.reset();
    }

    void answersOverTheTerminal()
    {
        QVERIFY(QString::fromStdString(sim->portName()).startsWith("pts/"));
        send(kLedRead);
        QCOMPARE(receive(), kLedReply);

        sim->setIdentity("KQ5");
        send("F1 F1 20 00 00 00 00 20");
        QCOMPARE(receive(), QString("F3 F3 20 4B 51 35 00 F1"));

        sim->setSensorPresent(1, false);
        send("F1 F1 07 00 00 00 00 07");
        const QString frame = receive();
        QCOMPARE(frame.left(8), QString("F4 F4 05"));
        QCOMPARE(bytes(frame).size(), size_t(11));
        QCOMPARE(sim->requestsServed(), 3);
    }

    void findsRequestsInAGarbledStream()
    {
        send("00 55 F1 F1 0C");
        QCOMPARE(receive(100), QString());
        send("00 00 00 00 0C");
        QCOMPARE(receive(), kLedReply);
        QCOMPARE(sim->requestsServed(), 1);
    }

    void modelTimeFollowsTheClock()
    {
        send(kLedRead);
        QCOMPARE(receive(), kLedReply);
        const double first = sim->withModel([](SimInstrument &m) { return m.seconds(); });
        QTest::qSleep(200);
        send(kLedRead);
        QCOMPARE(receive(), kLedReply);
        const double second = sim->withModel([](SimInstrument &m) { return m.seconds(); });
        QVERIFY2(second - first >= 0.2, qPrintable(QString::number(second - first)));
    }

    void faults_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("corrupt");
        QTest::addColumn<int>("dropEvery");
        QTest::addColumn<QStringList>("replies");
        const QString bad = "F3 F3 0C 05 00 00 00 EE";
        QTest::newRow("none") << false << false << 0 << QStringList{kLedReply, kLedReply, kLedReply, kLedReply};
        QTest::newRow("silent") << true << false << 0 << QStringList{"", "", "", ""};
        QTest::newRow("corrupt checksums") << false << true << 0 << QStringList{bad, bad, bad, bad};
        QTest::newRow("drop every 2nd") << false << false << 2 << QStringList{kLedReply, "", kLedReply, ""};
        QTest::newRow("drop every 3rd") << false << false << 3 << QStringList{kLedReply, kLedReply, "", kLedReply};
    }

    void faults()
    {
        QFETCH(bool, silent);
        QFETCH(bool, corrupt);
        QFETCH(int, dropEvery);
        QFETCH(QStringList, replies);
        // Replies before the faults are set do not count towards dropEvery.
        send(kLedRead);
        QCOMPARE(receive(), kLedReply);
        sim->setFaults({.silent = silent, .corruptChecksums = corrupt, .dropEvery = dropEvery});
        QStringList received;
        for (int i = 0; i < replies.size(); ++i) {
            send(kLedRead);
            received << receive(150);
        }
        QCOMPARE(received, replies);
        QCOMPARE(sim->requestsServed(), 1 + int(replies.size()));
    }

    void lineTimingPacesRequestAndReply()
    {
        sim->setFaults({.lineTiming = true});
        QElapsedTimer clock;
        clock.start();
        send(kLedRead);
        std::vector<uint8_t> reply;
        pollfd fd{port, POLLIN, 0};
        while (reply.size() < kx::kFrameSize && ::poll(&fd, 1, 500) > 0) {
            uint8_t buffer[64];
            const ssize_t n = ::read(port, buffer, sizeof buffer);
            QVERIFY(n > 0);
            reply.insert(reply.end(), buffer, buffer + n);
        }
        const qint64 elapsed = clock.nsecsElapsed();
        QCOMPARE(hex(reply), kLedReply);
        // 8 bytes in and 8 bytes out, 10 bits each at 57600 bit/s: 2.78 ms.
        QVERIFY2(elapsed >= 2'700'000, qPrintable(QString::number(elapsed)));
    }

    void portReopens()
    {
        ::close(port);
        QTest::qSleep(20);
        port = openPort();
        QVERIFY(port >= 0);
        send(kLedRead);
        QCOMPARE(receive(), kLedReply);
    }

    void disconnectHangsUp()
    {
        sim->disconnect();
        pollfd fd{port, POLLIN, 0};
        QCOMPARE(::poll(&fd, 1, 1000), 1);
        QVERIFY(fd.revents & (POLLHUP | POLLERR));
        uint8_t byte;
        QVERIFY(::read(port, &byte, 1) <= 0);
    }
};

QTEST_APPLESS_MAIN(PtyInstrumentTest)
#include "PtyInstrumentTest.moc"

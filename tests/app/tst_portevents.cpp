#include "Com_debugger.h"
#include "DeviceLink.h"
#include "HeldStartUp.h"
#include "Main.h"
#include "Program.h"
#include "PtyPair.h"
#include "RecordingDialogs.h"
#include "SamplePeriodMeter.h"
#include "ScopedWorkDir.h"

#include <QPlainTextEdit>
#include <QtTest>

namespace {

const QByteArray kMarker = QByteArray::fromHex("F3F3234D00000070"); // hardware version 77

/// The main window's notifier fed by a port of the test's own, so that the test can
/// hold back notifications.
struct Feed {
    Tserial_event port;
    std::atomic<int> bursts{0};

    Feed(DeviceLink &form, const PtyPair &pty, bool forwardOpened)
    {
        port.setNotifier([&form, this, forwardOpened](Tserial_event *p, int event) {
            if (event == Tserial_event::DataArrived)
                ++bursts;
            if (event != Tserial_event::PortOpened || forwardOpened)
                form.OnPortEvent(p, event);
        });
        port.setReadSize(64);
        port.open(pty.portName().constData(), 57600, 0, 8, false);
    }
};

QStringList monitorLines(Program &program)
{
    return program.monitor().findChild<QPlainTextEdit *>("Memo1")->toPlainText().split('\n', Qt::SkipEmptyParts);
}

} // namespace

class PortEventsTest : public QObject {
    Q_OBJECT

private slots:
    void routing_data();
    void routing();
    void dataWhileClosedIsDroppedButReadsGoOn();
    void closingShowsItsMessage();
    void closeTellsALossFromARequest();
    void samplePeriodEveryTenthFrame();
};

void PortEventsTest::routing_data()
{
    QTest::addColumn<QByteArray>("burst");
    QTest::addColumn<int>("led");
    QTest::addColumn<bool>("outputsOn");
    QTest::addColumn<QStringList>("lines");
    const QString marker = "   <<Received Data: 35: 77 0 0 0 ,CRC=112<->112";
    QTest::newRow("measurement of 3 bytes") << QByteArray::fromHex("F4F430") << 0 << true << QStringList{marker};
    QTest::newRow("reply of 8") << QByteArray::fromHex("F3F30C0500000011") << 5 << false
                                << QStringList{"   <<Received Data: 12: 5 0 0 0 ,CRC=17<->17", marker};
    QTest::newRow("reply and a ninth byte")
        << QByteArray::fromHex("F3F30C050000001100") << 0 << false << QStringList{marker};
    QTest::newRow("00 00 of 8 is rejected")
        << QByteArray::fromHex("0000000000000000") << 0 << false << QStringList{marker};
    QTest::newRow("bad checksum") << QByteArray::fromHex("F3F30C0500000012") << 0 << false
                                  << QStringList{"   <<Received Data: 12: 5 0 0 0 ,CRC=18<->17", "  <<BAD CRC :(",
                                                 marker};
    QTest::newRow("noise") << QByteArray::fromHex("0102") << 0 << false << QStringList{marker};
}

void PortEventsTest::routing()
{
    QFETCH(QByteArray, burst);
    QFETCH(int, led);
    QFETCH(bool, outputsOn);
    QFETCH(QStringList, lines);

    ScopedWorkDir dir;
    PtyPair pty;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    DeviceLink &form = program.link();
    program.monitor().show();
    Feed feed(form, pty, true);
    QTRY_VERIFY(form.connection().portOpen);

    pty.write(burst);
    QTest::qWait(100);
    pty.write(kMarker);
    QTRY_COMPARE(form.device().hwVersion, 77);
    QCOMPARE(form.device().Stan.LED, led);
    QCOMPARE(form.channels().pk1State, outputsOn);
    QCOMPARE(form.channels().pk2State, outputsOn);
    QCOMPARE(monitorLines(program), lines);
}

void PortEventsTest::dataWhileClosedIsDroppedButReadsGoOn()
{
    ScopedWorkDir dir;
    PtyPair pty;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    DeviceLink &form = program.link();
    Feed feed(form, pty, false);

    pty.write(QByteArray::fromHex("F3F30C0500000011"));
    QTest::qWait(100);
    pty.write(kMarker);
    QTRY_COMPARE(feed.bursts.load(), 2); // the second read started: rxDone came after the first
    QTest::qWait(50);
    QVERIFY(!form.connection().portOpen);
    QCOMPARE(form.device().Stan.LED, 0);
    QCOMPARE(form.device().hwVersion, 0);
}

void PortEventsTest::closingShowsItsMessage()
{
    ScopedWorkDir dir;
    PtyPair pty;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    DeviceLink &form = program.link();
    Feed feed(form, pty, true);
    QTRY_VERIFY(form.connection().portOpen);
    bool openWhileShown = true;
    dialogs.whileOpen = [&] { openWhileShown = form.connection().portOpen; };
    feed.port.close();
    QTRY_VERIFY(!form.connection().portOpen);
    QCOMPARE(dialogs.shown.last(), QString("OK|Zamknieto port COM1"));
    QVERIFY2(!openWhileShown, "the port counts as closed while its message is shown");
}

// The link says whether the line failed under the port or the port was closed on purpose.
void PortEventsTest::closeTellsALossFromARequest()
{
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    DeviceLink &link = program.link();
    QList<bool> closes;
    connect(&link, &DeviceLink::closed, this, [&](bool lost) { closes << lost; });
    {
        PtyPair pty;
        Feed feed(link, pty, true);
        QTRY_VERIFY(link.connection().portOpen);
        feed.port.close();
        QTRY_COMPARE(closes, QList<bool>{false});
    }
    PtyPair pty;
    Feed feed(link, pty, true);
    QTRY_VERIFY(link.connection().portOpen);
    pty.closeMaster();
    QTRY_COMPARE(closes, (QList<bool>{false, true}));
}

void PortEventsTest::samplePeriodEveryTenthFrame()
{
    SamplePeriodMeter meter;
    for (int i = 1; i < 10; ++i)
        QVERIFY(!meter.frame(i * 0.05));
    QCOMPARE(meter.frame(0.5).value_or(-1), 50.0);
    for (int i = 1; i < 10; ++i)
        QVERIFY(!meter.frame(0.5 + i * 0.1));
    QCOMPARE(meter.frame(1.5).value_or(-1), 100.0);
}

QTEST_MAIN(PortEventsTest)
#include "tst_portevents.moc"

#include "PtyPair.h"
#include "SerialDevice.h"
#include "Tserial_event.h"

#include <QtTest>
#include <cerrno>

Q_DECLARE_METATYPE(OpenFailureReason)

class OpenFailureTest : public QObject {
    Q_OBJECT

private slots:
    void errnoGivesReason_data();
    void errnoGivesReason();
    void failedOpenSaysWhy_data();
    void failedOpenSaysWhy();
    void portHeldByAnotherOpenerIsBusy();
    void refusedSettingsKeepTheirCode();
    void successfulOpenClearsTheReason();
};

void OpenFailureTest::errnoGivesReason_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<OpenFailureReason>("reason");
    QTest::newRow("EACCES") << EACCES << OpenFailureReason::NoPermission;
    QTest::newRow("EPERM") << EPERM << OpenFailureReason::NoPermission;
    // A tty under another program's TIOCEXCL refuses an ordinary account with EBUSY:
    // that is a held port, never a permission problem.
    QTest::newRow("EBUSY") << EBUSY << OpenFailureReason::Busy;
    QTest::newRow("EWOULDBLOCK") << EWOULDBLOCK << OpenFailureReason::Busy;
    QTest::newRow("ENOENT") << ENOENT << OpenFailureReason::NoSuchDevice;
    QTest::newRow("ENODEV") << ENODEV << OpenFailureReason::NoSuchDevice;
    QTest::newRow("ENXIO") << ENXIO << OpenFailureReason::NoSuchDevice;
    QTest::newRow("EIO") << EIO << OpenFailureReason::NoSuchDevice;
    QTest::newRow("ENOTTY") << ENOTTY << OpenFailureReason::NotSerial;
    QTest::newRow("EINVAL") << EINVAL << OpenFailureReason::Other;
}

void OpenFailureTest::errnoGivesReason()
{
    QFETCH(int, error);
    QFETCH(OpenFailureReason, reason);
    QCOMPARE(SerialDevice::reasonForOpenError(error), reason);
}

void OpenFailureTest::failedOpenSaysWhy_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("result");
    QTest::addColumn<OpenFailureReason>("reason");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArray>("devicePath");

    QTest::newRow("missing device") << QByteArray("ttyNONE9") << int(Tserial_event::OpenFailed)
                                    << OpenFailureReason::NoSuchDevice << ENOENT << QByteArray("/dev/ttyNONE9");
    QTest::newRow("missing folder") << QByteArray("nodir/x") << int(Tserial_event::OpenFailed)
                                    << OpenFailureReason::NoSuchDevice << ENOENT << QByteArray("/dev/nodir/x");
    QTest::newRow("not a terminal") << QByteArray("null") << int(Tserial_event::OpenFailed)
                                    << OpenFailureReason::NotSerial << ENOTTY << QByteArray("/dev/null");
    QTest::newRow("no name") << QByteArray("") << int(Tserial_event::NoPortName) << OpenFailureReason::NameRefused << 0
                             << QByteArray();
    QTest::newRow("outside /dev") << QByteArray("../etc") << int(Tserial_event::OpenFailed)
                                  << OpenFailureReason::NameRefused << 0 << QByteArray();
    // Cut to nine characters it would name ttyUSB012, another device.
    QTest::newRow("too long") << QByteArray("ttyUSB0123456789") << int(Tserial_event::OpenFailed)
                              << OpenFailureReason::NameRefused << ENAMETOOLONG << QByteArray("/dev/ttyUSB0123456789");
}

void OpenFailureTest::failedOpenSaysWhy()
{
    QFETCH(QByteArray, name);
    QFETCH(int, result);
    QFETCH(OpenFailureReason, reason);
    QFETCH(int, error);
    QFETCH(QByteArray, devicePath);

    Tserial_event port;
    QCOMPARE(port.open(name.constData(), 57600, 0, 8, false), result);
    QVERIFY(!port.running());
    const OpenFailure &failure = port.lastFailure();
    QCOMPARE(failure.reason, reason);
    QCOMPARE(failure.error, error);
    QCOMPARE(QByteArray::fromStdString(failure.devicePath), devicePath);
    QCOMPARE(QByteArray::fromStdString(failure.portName), name);
}

void OpenFailureTest::portHeldByAnotherOpenerIsBusy()
{
    PtyPair pty;
    QVERIFY(pty.ok());
    Tserial_event holder;
    QCOMPARE(holder.open(pty.portName().constData(), 57600, 0, 8, false), 0);

    Tserial_event port;
    QCOMPARE(port.open(pty.portName().constData(), 57600, 0, 8, false), int(Tserial_event::OpenFailed));
    QCOMPARE(port.lastFailure().reason, OpenFailureReason::Busy);
    QCOMPARE(QByteArray::fromStdString(port.lastFailure().devicePath), "/dev/" + pty.portName());
    holder.close();
}

void OpenFailureTest::refusedSettingsKeepTheirCode()
{
    PtyPair pty;
    QVERIFY(pty.ok());
    Tserial_event port;
    QCOMPARE(port.open(pty.portName().constData(), 12345, 0, 8, false), int(Tserial_event::LineSettingsFailed));
    QVERIFY(!port.running());
    QCOMPARE(port.lastFailure().reason, OpenFailureReason::Other);
    QCOMPARE(port.lastFailure().error, EINVAL);
    QCOMPARE(QByteArray::fromStdString(port.lastFailure().devicePath), "/dev/" + pty.portName());
}

void OpenFailureTest::successfulOpenClearsTheReason()
{
    PtyPair pty;
    QVERIFY(pty.ok());
    Tserial_event port;
    QCOMPARE(port.open("ttyNONE9", 57600, 0, 8, false), int(Tserial_event::OpenFailed));
    QCOMPARE(port.open(pty.portName().constData(), 57600, 0, 8, false), 0);
    QCOMPARE(port.lastFailure().reason, OpenFailureReason::None);
    QCOMPARE(port.lastFailure().error, 0);
    port.close();
}

QTEST_GUILESS_MAIN(OpenFailureTest)
#include "tst_openfailure.moc"

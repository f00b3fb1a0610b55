#include "PortFailureText.h"
#include "PtyPair.h"
#include "Tserial_event.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(OpenFailure)
Q_DECLARE_METATYPE(DeviceFacts)

namespace {

OpenFailure failureOf(OpenFailureReason reason, int error, const char *device, const char *name = "")
{
    return {reason, error, device, name};
}

DeviceFacts groupFacts(const QString &group, bool groupMayOpen, bool joinPending = false)
{
    DeviceFacts facts;
    facts.account = QStringLiteral("jan");
    facts.owner = QStringLiteral("root");
    facts.group = group;
    facts.groupMayOpen = groupMayOpen;
    facts.joinPending = joinPending;
    return facts;
}

DeviceFacts heldBy(const QList<PortHolder> &holders)
{
    DeviceFacts facts;
    facts.holders = holders;
    return facts;
}

DeviceFacts withPorts(const QStringList &ports)
{
    DeviceFacts facts;
    facts.presentPorts = ports;
    return facts;
}

/// kx-port-holder keeping a port, as another program would, until the object goes.
class HeldPort {
public:
    explicit HeldPort(const QByteArray &portName)
    {
        process_.start(QStringLiteral(KX_PORT_HOLDER), {QString::fromLocal8Bit(portName)});
        ready_ = process_.waitForReadyRead(5000) && process_.readLine().trimmed() == "ready";
    }
    ~HeldPort()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000))
            process_.kill();
    }
    bool ready() const { return ready_; }
    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
    bool ready_ = false;
};

} // namespace

class PortFailureTest : public QObject {
    Q_OBJECT

private slots:
    void reasonLine_data();
    void reasonLine();
    void holdersAreFoundThroughTheirDescriptors();
    void ownershipIsReadFromTheDevice();
    void missingDeviceListsThePortsThatExist();
    void heldPortNamesItsHolder();
    void unprivilegedAccountIsToldWhatToDo_data();
    void unprivilegedAccountIsToldWhatToDo();
};

void PortFailureTest::reasonLine_data()
{
    QTest::addColumn<OpenFailure>("failure");
    QTest::addColumn<DeviceFacts>("facts");
    QTest::addColumn<QString>("line");

    const auto denied = [](int error) { return failureOf(OpenFailureReason::NoPermission, error, "/dev/ttyUSB0"); };
    QTest::newRow("EACCES, group dialout")
        << denied(EACCES) << groupFacts("dialout", true)
        << "Brak uprawnień do /dev/ttyUSB0 (grupa dialout): dodaj użytkownika do grupy dialout i zaloguj się "
           "ponownie (sudo usermod -aG dialout jan).";
    QTest::newRow("EPERM, the group the device really has")
        << denied(EPERM) << groupFacts("uucp", true)
        << "Brak uprawnień do /dev/ttyUSB0 (grupa uucp): dodaj użytkownika do grupy uucp i zaloguj się ponownie "
           "(sudo usermod -aG uucp jan).";
    QTest::newRow("group may not open it")
        << denied(EACCES) << groupFacts("root", false)
        << "Brak uprawnień do /dev/ttyUSB0: otwierać go może tylko właściciel (root), grupa root nie ma prawa "
           "odczytu i zapisu; nadaj te prawa grupie urządzenia (np. regułą udev).";
    QTest::newRow("already added, not logged in again")
        << denied(EACCES) << groupFacts("dialout", true, true)
        << "Brak uprawnień do /dev/ttyUSB0 (grupa dialout): użytkownik jest już w grupie dialout, ale ta sesja "
           "jeszcze tego nie widzi – zaloguj się ponownie.";
    QTest::newRow("device gone before it could be looked at")
        << denied(EACCES) << DeviceFacts{}
        << "Brak uprawnień do /dev/ttyUSB0: dodaj użytkownika do grupy, do której należy urządzenie (zwykle "
           "dialout), i zaloguj się ponownie.";

    const auto busy = [](int error) { return failureOf(OpenFailureReason::Busy, error, "/dev/ttyACM0"); };
    QTest::newRow("held by the modem manager")
        << busy(EBUSY) << heldBy({{812, "ModemManager"}})
        << "Port /dev/ttyACM0 jest zajęty przez: ModemManager (PID 812). ModemManager sprawdza nowe porty w "
           "poszukiwaniu modemów – zatrzymaj go (sudo systemctl stop ModemManager) albo wyłącz na stałe (sudo "
           "systemctl disable ModemManager).";
    QTest::newRow("held by the braille daemon")
        << busy(EBUSY) << heldBy({{640, "brltty"}})
        << "Port /dev/ttyACM0 jest zajęty przez: brltty (PID 640). brltty (obsługa monitorów brajlowskich) "
           "przejmuje adaptery USB – jeśli go nie używasz, usuń go (sudo apt remove brltty) i podłącz adapter "
           "ponownie.";
    QTest::newRow("locked by a terminal program")
        << busy(EWOULDBLOCK) << heldBy({{4242, "minicom"}})
        << "Port /dev/ttyACM0 jest zajęty przez: minicom (PID 4242). Zamknij ten program i spróbuj ponownie.";
    QTest::newRow("two holders")
        << busy(EBUSY) << heldBy({{812, "ModemManager"}, {4242, ""}})
        << "Port /dev/ttyACM0 jest zajęty przez: ModemManager (PID 812), PID 4242. ModemManager sprawdza nowe porty "
           "w poszukiwaniu modemów – zatrzymaj go (sudo systemctl stop ModemManager) albo wyłącz na stałe (sudo "
           "systemctl disable ModemManager). Zamknij pozostałe programy i spróbuj ponownie.";
    QTest::newRow("holder not visible")
        << busy(EBUSY) << DeviceFacts{}
        << "Port /dev/ttyACM0 jest zajęty przez inny program; zamknij go i spróbuj ponownie.";

    QTest::newRow("ENOENT, other ports present")
        << failureOf(OpenFailureReason::NoSuchDevice, ENOENT, "/dev/ttyS0") << withPorts({"ttyUSB0", "ttyACM0"})
        << "Urządzenie /dev/ttyS0 nie istnieje. Dostępne porty: ttyUSB0, ttyACM0.";
    QTest::newRow("ENXIO, no port at all")
        << failureOf(OpenFailureReason::NoSuchDevice, ENXIO, "/dev/ttyS3") << DeviceFacts{}
        << "Pod /dev/ttyS3 nie ma działającego portu. Nie znaleziono żadnego portu szeregowego – sprawdź, czy "
           "adapter jest podłączony.";
    QTest::newRow("ENOTTY") << failureOf(OpenFailureReason::NotSerial, ENOTTY, "/dev/null") << DeviceFacts{}
                            << "/dev/null nie jest portem szeregowym; wybierz inny port.";
    QTest::newRow("name too long") << failureOf(OpenFailureReason::NameRefused, ENAMETOOLONG, "/dev/ttyUSB0123",
                                                "ttyUSB0123")
                                   << DeviceFacts{} << "Nazwa portu „ttyUSB0123” jest za długa (najwyżej 9 znaków).";
    QTest::newRow("name outside /dev") << failureOf(OpenFailureReason::NameRefused, 0, "", "../etc") << DeviceFacts{}
                                       << "„../etc” nie jest nazwą portu; wpisz np. COM1 lub ttyUSB0.";
    QTest::newRow("no name") << failureOf(OpenFailureReason::NameRefused, 0, "", "") << DeviceFacts{}
                             << "Nie podano nazwy portu; wpisz np. COM1 lub ttyUSB0.";
    QTest::newRow("settings refused") << failureOf(OpenFailureReason::Other, EINVAL, "/dev/ttyUSB0") << DeviceFacts{}
                                      << "Błąd portu /dev/ttyUSB0: " + QString::fromLocal8Bit(strerror(EINVAL)) + ".";
    QTest::newRow("nothing failed") << OpenFailure{} << DeviceFacts{} << QString();
}

void PortFailureTest::reasonLine()
{
    QFETCH(OpenFailure, failure);
    QFETCH(DeviceFacts, facts);
    QFETCH(QString, line);
    QCOMPARE(PortFailureText::reasonLine(failure, facts), line);
}

void PortFailureTest::holdersAreFoundThroughTheirDescriptors()
{
    QTemporaryDir proc;
    QVERIFY(proc.isValid());
    const auto process = [&proc](const QString &pid, const QByteArray &comm, const QStringList &targets) {
        QDir(proc.path()).mkpath(pid + "/fd");
        if (!comm.isNull()) {
            QFile file(proc.filePath(pid + "/comm"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(comm + '\n');
        }
        for (int fd = 0; fd < targets.size(); ++fd)
            QVERIFY(QFile::link(targets[fd], proc.filePath(QStringLiteral("%1/fd/%2").arg(pid).arg(fd))));
    };
    const QString device = QStringLiteral("/dev/ttyKXTEST7");
    process("812", "ModemManager", {"/dev/null", device});
    process("90", "picocom", {device + "0"}); // another device whose name begins alike
    process("4242", "minicom", {device, device});
    process("self", "kx520s-pc", {device}); // not a process number
    process("7", QByteArray(), {device});

    const QList<PortHolder> holders = PortFailureText::holdersOf(device, proc.path());
    QStringList found;
    for (const PortHolder &holder : holders)
        found << QStringLiteral("%1:%2").arg(holder.pid).arg(holder.name);
    QCOMPARE(found, (QStringList{"7:", "812:ModemManager", "4242:minicom"}));
}

void PortFailureTest::ownershipIsReadFromTheDevice()
{
    PtyPair pty;
    QVERIFY(pty.ok());
    const QByteArray device = "/dev/" + pty.portName();
    struct stat info {};
    QCOMPARE(::stat(device.constData(), &info), 0);

    const DeviceFacts facts =
        PortFailureText::gatherFacts(failureOf(OpenFailureReason::NoPermission, EACCES, device.constData()));
    QCOMPARE(facts.owner, QString::fromLocal8Bit(getpwuid(info.st_uid)->pw_name));
    QCOMPARE(facts.group, QString::fromLocal8Bit(getgrgid(info.st_gid)->gr_name));
    QCOMPARE(facts.groupMayOpen, (info.st_mode & 060) == 060);
    QCOMPARE(facts.account, QString::fromLocal8Bit(getpwuid(geteuid())->pw_name));
}

void PortFailureTest::missingDeviceListsThePortsThatExist()
{
    const PortEnumerator enumerate = [] {
        return QList<PresentPort>{
            {"ttyS0", "", "", ""}, {"ttyUSB0", "CP2102", "Silicon Labs", "0001"}, {"ttyUSB0123456", "", "", ""}};
    };
    const OpenFailure missing = failureOf(OpenFailureReason::NoSuchDevice, ENOENT, "/dev/ttyUSB1");
    QCOMPARE(PortFailureText::gatherFacts(missing, enumerate).presentPorts, (QStringList{"COM1", "ttyUSB0"}));
}

void PortFailureTest::heldPortNamesItsHolder()
{
    PtyPair pty;
    QVERIFY(pty.ok());
    HeldPort held(pty.portName());
    QVERIFY(held.ready());

    Tserial_event port;
    QCOMPARE(port.open(pty.portName().constData(), 57600, 0, 8, false), int(Tserial_event::OpenFailed));
    const QString first = QStringLiteral("Nie mozna otworzyc portu ") + pty.portName();
    const QStringList lines = PortFailureText::message(first, port.lastFailure()).split('\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], first);
    QCOMPARE(lines[1], QStringLiteral("Port /dev/%1 jest zajęty przez: kx-port-holder (PID %2). Zamknij ten "
                                      "program i spróbuj ponownie.")
                           .arg(QString::fromLocal8Bit(pty.portName()))
                           .arg(held.pid()));
}

void PortFailureTest::unprivilegedAccountIsToldWhatToDo_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("held");
    QTest::addColumn<QString>("line");
    QTest::newRow("group may open it")
        << 0660 << false
        << "Brak uprawnień do %1 (grupa tty): dodaj użytkownika do grupy tty i zaloguj się ponownie (sudo usermod "
           "-aG tty nobody).";
    QTest::newRow("only the owner may open it")
        << 0600 << false
        << "Brak uprawnień do %1: otwierać go może tylko właściciel (root), grupa tty nie ma prawa odczytu i "
           "zapisu; nadaj te prawa grupie urządzenia (np. regułą udev).";
    // Open to everyone, but under another program's exclusive hold: busy, not a permission problem.
    QTest::newRow("held by another account")
        << 0666 << true << "Port %1 jest zajęty przez inny program; zamknij go i spróbuj ponownie.";
}

void PortFailureTest::unprivilegedAccountIsToldWhatToDo()
{
    QFETCH(int, mode);
    QFETCH(bool, held);
    QFETCH(QString, line);

    if (geteuid() != 0)
        QSKIP("needs root: the test hands a pseudo-terminal to root:tty and opens it as \"nobody\"");
    const passwd *nobody = getpwnam("nobody");
    const group *tty = getgrnam("tty");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (!nobody || !tty || setpriv.isEmpty())
        QSKIP("needs the account \"nobody\", the group \"tty\" and setpriv (util-linux)");

    PtyPair pty;
    QVERIFY(pty.ok());
    const QByteArray device = "/dev/" + pty.portName();
    QCOMPARE(::chown(device.constData(), 0, tty->gr_gid), 0);
    QCOMPARE(::chmod(device.constData(), mode), 0);
    std::unique_ptr<HeldPort> holder;
    if (held) {
        holder = std::make_unique<HeldPort>(pty.portName());
        QVERIFY(holder->ready());
    }

    QProcess probe;
    probe.start(setpriv, {QStringLiteral("--reuid=%1").arg(nobody->pw_uid),
                          QStringLiteral("--regid=%1").arg(nobody->pw_gid), QStringLiteral("--clear-groups"),
                          QStringLiteral(KX_PORT_PROBE), QString::fromLocal8Bit(pty.portName())});
    QVERIFY(probe.waitForFinished(10000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    if (probe.exitCode() != 0)
        QSKIP(qPrintable("cannot run the probe as \"nobody\" here: " + probe.readAllStandardError().trimmed()));

    const QString first = QStringLiteral("Nie mozna otworzyc portu ") + pty.portName();
    QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()), first + '\n' + line.arg(QString::fromLocal8Bit(device)));
}

QTEST_GUILESS_MAIN(PortFailureTest)
#include "tst_portfailure.moc"

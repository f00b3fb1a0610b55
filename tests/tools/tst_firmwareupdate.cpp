#include "FirmwareUpdate.h"
#include "RecordingDialogs.h"
#include "RecordingLauncher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kWrapperSource = QStringLiteral(KX_SOURCE_DIR "/data/bootloader/run-programmer.sh");
const TerminalCommand kTerminal{QStringLiteral("terminal"), {QStringLiteral("-e")}};

/// Stands in for the programmer: writes the arguments it received, one a line, beside itself.
const QByteArray kStandInProgrammer = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/arguments.txt\"\n";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

/// The link as the main window has it: closing is asked for, and the closed notification
/// comes later as a queued call that clears the open flag and shows its box.
class FakePort : public PortControl {
public:
    FakePort(QStringList &events, UserDialogs &dialogs) : events(events), dialogs(dialogs) {}

    bool open = true;
    bool notifies = true;

    bool portOpen() const override { return open; }
    void closePort() override
    {
        events << "close";
        if (!notifies)
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this] {
                open = false;
                events << "closed";
                dialogs.information(QStringLiteral("Zamknieto port COM1"), QStringLiteral("OK"));
            },
            Qt::QueuedConnection);
    }

private:
    QStringList &events;
    UserDialogs &dialogs;
};

/// A working folder with the programmer's folder, a stand-in programmer, the real wrapper
/// and a HEX file to choose.
struct Fixture {
    explicit Fixture(const QString &workName = QStringLiteral("work"),
                     const QString &folder = QStringLiteral("Bootloader"))
        : startDir(root.filePath(workName)), toolDir(startDir + '/' + folder)
    {
        QDir().mkpath(toolDir);
        writeFile(programmer(), kStandInProgrammer);
        QFile::setPermissions(programmer(), QFile::permissions(programmer()) | QFileDevice::ExeOwner);
        QFile::copy(kWrapperSource, wrapper());
        writeFile(chosenHex(), ":020000040000FA\n:00000001FF\n");
        launcher.whileStarting = [this] { events << "start with " + contents(hexCopy()); };
        dialogs.whileOpen = [this] { events << "box"; };
    }

    QString programmer() const { return toolDir + "/AVROSP"; }
    QString wrapper() const { return toolDir + "/run-programmer.sh"; }
    QString hexCopy() const { return toolDir + "/program.hex"; }
    QString chosenHex() const { return root.filePath("new firmware.hex"); }
    void choose(const QString &path) { dialogs.files.append({path, 0}); }
    /// Runs the update as a user's click does and waits for its steps to end.
    bool click()
    {
        update.Aktualizacja1Click();
        return QTest::qWaitFor([this] { return !update.busy(); }, 5000);
    }

    QStringList expectedArguments() const
    {
        return {"-e", "sh", wrapper(), programmer(), "-dATmega32", "-pf", "-vf", "-if" + hexCopy(), "-e"};
    }

    QTemporaryDir root;
    QString startDir;
    QString toolDir;
    QStringList events;
    RecordingDialogs dialogs;
    RecordingLauncher launcher;
    FakePort port{events, dialogs};
    FirmwareUpdate update{dialogs, launcher, port, {startDir, startDir}, kTerminal};
};

} // namespace

class FirmwareUpdateTest : public QObject {
    Q_OBJECT

private slots:
    void cancelledDialogChangesNothing();
    void update_data();
    void update();
    void secondUpdateReplacesTheCopy();
    void installedProgramCopiesIntoTheUsersFolder();
    void failedCopyStartsNothing_data();
    void failedCopyStartsNothing();
    void missingFileStopsBeforeClosing_data();
    void missingFileStopsBeforeClosing();
    void terminalThatCannotStartIsReported();
    void lostNotificationEndsTheWaitAtTheDeadline();
    void wrapperPassesTheArgumentsIntact();
};

void FirmwareUpdateTest::cancelledDialogChangesNothing()
{
    Fixture f;
    QVERIFY(f.click());
    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    const FileDialogRequest &request = f.dialogs.fileRequests.first();
    QCOMPARE(request.title, QString("Wskaż plik HEX do wgrania"));
    QCOMPARE(request.filter, QString("EEPROM hex file | *.hex"));
    QVERIFY(request.mustExist);
    QVERIFY(f.port.open);
    QVERIFY(f.events.isEmpty());
    QVERIFY(!QFile::exists(f.hexCopy()));
    QVERIFY(f.launcher.started.isEmpty());
}

void FirmwareUpdateTest::update_data()
{
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QString>("workName");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("events");
    const QByteArray hex = ":020000040000FA\n:00000001FF\n";
    const QStringList afterClosing = {"close", "closed", "box", "start with " + hex};
    QTest::newRow("port open: closed first, then copied and started") << true << "work"
                                                                      << "Bootloader" << afterClosing;
    QTest::newRow("port already closed") << false << "work"
                                         << "Bootloader" << QStringList{"start with " + hex};
    QTest::newRow("working folder with blanks") << true << "my work dir"
                                                << "Bootloader" << afterClosing;
    QTest::newRow("folder in another case") << false << "work"
                                            << "BOOTloader" << QStringList{"start with " + hex};
}

void FirmwareUpdateTest::update()
{
    QFETCH(bool, portOpen);
    QFETCH(QString, workName);
    QFETCH(QString, folder);
    QFETCH(QStringList, events);
    Fixture f(workName, folder);
    f.port.open = portOpen;
    f.choose(f.chosenHex());
    QVERIFY(f.click());
    QCOMPARE(f.events, events);
    QVERIFY(!f.port.open);
    QCOMPARE(f.launcher.started.size(), 1);
    QCOMPARE(f.launcher.started[0].program, kTerminal.program);
    QCOMPARE(f.launcher.started[0].arguments, f.expectedArguments());
    QCOMPARE(QDir(f.toolDir).entryList({"*.hex"}, QDir::Files, QDir::Name), QStringList{"program.hex"});
    QCOMPARE(f.dialogs.shown, portOpen ? QStringList{"OK|Zamknieto port COM1"} : QStringList{});
}

void FirmwareUpdateTest::installedProgramCopiesIntoTheUsersFolder()
{
    // Installed: the wrapper ships read-only, the programmer is the user's own, and the
    // user's folder has no bootloader folder until the first update.
    QTemporaryDir root;
    const ProgramFolders folders{root.filePath("home/KX520S-PC"), root.filePath("share/kx520s-pc")};
    QDir().mkpath(folders.shipped + "/bootloader");
    QVERIFY(QFile::copy(kWrapperSource, folders.shipped + "/bootloader/run-programmer.sh"));
    writeFile(root.filePath("chosen.hex"), ":00000001FF\n");
    QStringList events;
    RecordingDialogs dialogs;
    RecordingLauncher launcher;
    FakePort port{events, dialogs};
    port.open = false;
    FirmwareUpdate update(dialogs, launcher, port, folders, kTerminal);
    dialogs.files.append({root.filePath("chosen.hex"), 0});
    update.Aktualizacja1Click();
    QVERIFY(QTest::qWaitFor([&] { return !update.busy(); }, 5000));
    const QString programmer = folders.work + "/Bootloader/AVROSP";
    QCOMPARE(dialogs.shown, QStringList{QStringLiteral("Nie znaleziono pliku %1.\n"
                                                       "Aktualizacja firmware nie została rozpoczęta.")
                                            .arg(programmer)});

    QDir().mkpath(folders.work + "/Bootloader");
    writeFile(programmer, kStandInProgrammer);
    dialogs.shown.clear();
    dialogs.files.append({root.filePath("chosen.hex"), 0});
    update.Aktualizacja1Click();
    QVERIFY(QTest::qWaitFor([&] { return !update.busy(); }, 5000));
    QCOMPARE(dialogs.shown, QStringList{});
    QCOMPARE(launcher.started.size(), 1);
    const QStringList arguments = launcher.started[0].arguments;
    QCOMPARE(arguments.mid(1, 3), (QStringList{"sh", folders.shipped + "/bootloader/run-programmer.sh", programmer}));
    // The copy goes beside the user's programmer, whatever the case of its folder.
    QCOMPARE(arguments.at(7), "-if" + folders.work + "/Bootloader/program.hex");
    QCOMPARE(contents(folders.work + "/Bootloader/program.hex"), QByteArray(":00000001FF\n"));
}

void FirmwareUpdateTest::secondUpdateReplacesTheCopy()
{
    Fixture f;
    f.port.open = false;
    f.choose(f.chosenHex());
    QVERIFY(f.click());
    const QString second = f.root.filePath("second.hex");
    writeFile(second, ":00000001FF\n");
    f.choose(second);
    QVERIFY(f.click());
    QCOMPARE(f.dialogs.fileRequests[1].fileName, f.chosenHex()); // the dialog offers the last choice
    QCOMPARE(f.events.last(), QString("start with :00000001FF\n"));
    QCOMPARE(contents(f.hexCopy()), QByteArray(":00000001FF\n"));
    QCOMPARE(f.launcher.started.size(), 2);
    QVERIFY(f.dialogs.shown.isEmpty());
}

void FirmwareUpdateTest::failedCopyStartsNothing_data()
{
    QTest::addColumn<bool>("targetIsFolder");
    QTest::addColumn<bool>("sourceVanished");
    QTest::newRow("copy cannot replace what is there") << true << false;
    QTest::newRow("chosen file gone, old copy left from before") << false << true;
}

void FirmwareUpdateTest::failedCopyStartsNothing()
{
    QFETCH(bool, targetIsFolder);
    QFETCH(bool, sourceVanished);
    Fixture f;
    f.port.open = false;
    if (targetIsFolder)
        QVERIFY(QDir().mkpath(f.hexCopy() + "/inside"));
    else
        writeFile(f.hexCopy(), "old firmware");
    if (sourceVanished)
        QVERIFY(QFile::remove(f.chosenHex()));
    f.choose(f.chosenHex());
    QVERIFY(f.click());
    QVERIFY(f.launcher.started.isEmpty());
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.shown[0].startsWith("Nie można skopiować pliku " + f.chosenHex()),
             qPrintable(f.dialogs.shown[0]));
    QVERIFY(f.dialogs.shown[0].contains("Programator nie został uruchomiony."));
    QVERIFY(contents(f.hexCopy()) != "old firmware");
}

void FirmwareUpdateTest::missingFileStopsBeforeClosing_data()
{
    QTest::addColumn<QString>("missing");
    QTest::newRow("programmer") << "AVROSP";
    QTest::newRow("wrapper") << "run-programmer.sh";
}

void FirmwareUpdateTest::missingFileStopsBeforeClosing()
{
    QFETCH(QString, missing);
    Fixture f;
    QVERIFY(QFile::remove(f.toolDir + '/' + missing));
    f.choose(f.chosenHex());
    QVERIFY(f.click());
    QVERIFY(f.port.open);
    QVERIFY(!QFile::exists(f.hexCopy()));
    QVERIFY(f.launcher.started.isEmpty());
    QCOMPARE(f.dialogs.shown, QStringList{"Nie znaleziono pliku " + f.toolDir + '/' + missing +
                                          ".\nAktualizacja firmware nie została rozpoczęta."});
}

void FirmwareUpdateTest::terminalThatCannotStartIsReported()
{
    Fixture f;
    f.port.open = false;
    f.launcher.succeeds = false;
    f.choose(f.chosenHex());
    QVERIFY(f.click());
    QCOMPARE(f.launcher.started.size(), 1);
    QCOMPARE(f.dialogs.shown, QStringList{"Nie można uruchomić programatora w oknie terminala (terminal)."});
}

void FirmwareUpdateTest::lostNotificationEndsTheWaitAtTheDeadline()
{
    QTemporaryDir root;
    const QString startDir = root.path();
    QDir().mkpath(startDir + "/bootloader");
    writeFile(startDir + "/bootloader/AVROSP", kStandInProgrammer);
    QFile::copy(kWrapperSource, startDir + "/bootloader/run-programmer.sh");
    writeFile(startDir + "/a.hex", ":00000001FF\n");
    QStringList events;
    RecordingDialogs dialogs;
    dialogs.files.append({startDir + "/a.hex", 0});
    RecordingLauncher launcher;
    FakePort port(events, dialogs);
    port.notifies = false;
    FirmwareUpdate update(dialogs, launcher, port, {startDir, startDir}, kTerminal, std::chrono::milliseconds(150));
    QElapsedTimer clock;
    clock.start();
    update.Aktualizacja1Click();
    QVERIFY(update.busy()); // the window is free meanwhile
    QVERIFY(QTest::qWaitFor([&] { return !update.busy(); }, 5000));
    QVERIFY(clock.elapsed() >= 150);
    QVERIFY(clock.elapsed() < 3000);
    QCOMPARE(events, QStringList{"close"});
    QCOMPARE(launcher.started.size(), 1);
}

void FirmwareUpdateTest::wrapperPassesTheArgumentsIntact()
{
    Fixture f(QStringLiteral("work with  blanks"));
    f.port.open = false;
    f.choose(f.chosenHex());
    QVERIFY(f.click());
    QCOMPARE(f.launcher.started.size(), 1);
    // What the terminal would run, run here without a terminal; the shell at its end finds
    // no input and ends.
    const QStringList command = f.launcher.started[0].arguments.mid(kTerminal.leadingArguments.size());
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SHELL", "/bin/sh");
    run.setProcessEnvironment(environment);
    run.start(command.first(), command.mid(1));
    QVERIFY(run.waitForStarted());
    run.closeWriteChannel();
    QVERIFY(run.waitForFinished(10000));
    QCOMPARE(run.exitCode(), 0);
    QVERIFY(QString::fromUtf8(run.readAllStandardOutput()).contains("Programator zakończył pracę (kod wyjścia 0)."));
    const QStringList received =
        QString::fromUtf8(contents(f.toolDir + "/arguments.txt")).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(received, f.expectedArguments().mid(4));
    QVERIFY(received[3].contains("work with  blanks"));
}

QTEST_GUILESS_MAIN(FirmwareUpdateTest)
#include "tst_firmwareupdate.moc"

// What happens before the main window: the working folder, one program per folder, Qt's texts
// in Polish, and an end asked for by a signal.
#include "QtTranslation.h"
#include "RecordingDialogs.h"
#include "WorkingFolder.h"

#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <csignal>

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The real program started in `folder`, without a screen.
struct StartedProgram {
    explicit StartedProgram(const QString &folder)
    {
        process.setWorkingDirectory(folder);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(KX_PROGRAM), {});
    }
    ~StartedProgram()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    QProcess process;
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void folderChoice_data();
    void folderChoice();
    void firstStartGetsTheShippedSettings();
    void secondProgramInAFolderIsRefused();
    void lockOfAKilledProgramIsTakenOver();
    void terminationSignalClosesCleanly();
    void qtTextsArePolish();
    void missingTranslationIsNotFatal();
};

void StartupTest::folderChoice_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("work");
    QTest::addColumn<QString>("shipped");
    const QString here = "/home/op/pomiary";
    const QString own = "/home/op/.local/share/KX520S-PC";
    const QString system = "/usr/share/kx520s-pc";
    QTest::newRow("build tree") << "/home/op/kx/build" << true << here << here;
    QTest::newRow("a writable folder of the user's") << "/opt/kx" << true << here << here;
    QTest::newRow("a folder the user cannot write") << "/opt/kx" << false << own << system;
    QTest::newRow("installed") << "/usr/bin" << false << own << system;
    QTest::newRow("installed, started by root") << "/usr/bin/" << true << own << system;
}

void StartupTest::folderChoice()
{
    QFETCH(QString, programDir);
    QFETCH(bool, writable);
    QFETCH(QString, work);
    QFETCH(QString, shipped);
    const ProgramFolders folders = chooseProgramFolders({.programDir = programDir,
                                                         .programDirWritable = writable,
                                                         .currentDir = "/home/op/pomiary",
                                                         .dataHome = "/home/op/.local/share",
                                                         .installedBinDir = "/usr/bin",
                                                         .installedDataDir = "/usr/share/kx520s-pc"});
    QCOMPARE(folders.work, work);
    QCOMPARE(folders.shipped, shipped);
}

void StartupTest::firstStartGetsTheShippedSettings()
{
    QTemporaryDir root;
    const ProgramFolders folders{root.filePath("home/KX520S-PC"), root.filePath("usr/share/kx520s-pc")};
    writeFile(folders.shipped + "/config.ini", "shipped\r\n");
    writeFile(folders.shipped + "/Grafika/MODE_1.jpg", "picture");
    QFile::setPermissions(folders.shipped + "/config.ini", QFileDevice::ReadOwner | QFileDevice::ReadOther);

    QCOMPARE(prepareWorkingFolder(folders), QString());
    const QString config = folders.work + "/config.ini";
    QCOMPARE(contents(config), QByteArray("shipped\r\n"));
    QVERIFY(QFileInfo(config).isWritable());
    // Shipped files are read where they ship, unless the user has a copy of their own.
    QCOMPARE(folders.shippedFile("\\Grafika\\MODE_1.jpg"), folders.shipped + "/Grafika/MODE_1.jpg");
    writeFile(folders.work + "/grafika/mode_1.JPG", "own");
    QCOMPARE(folders.shippedFile("\\Grafika\\MODE_1.jpg"), folders.work + "/grafika/mode_1.JPG");

    // The user's settings are theirs from then on.
    writeFile(config, "user's\r\n");
    QCOMPARE(prepareWorkingFolder(folders), QString());
    QCOMPARE(contents(config), QByteArray("user's\r\n"));
    QCOMPARE(contents(folders.shipped + "/config.ini"), QByteArray("shipped\r\n"));

    // A folder that cannot be made is said so.
    writeFile(root.filePath("file"), "x");
    const QString failure = prepareWorkingFolder({root.filePath("file/KX520S-PC"), folders.shipped});
    QVERIFY2(failure.startsWith("Nie można utworzyć folderu roboczego"), qPrintable(failure));
}

void StartupTest::secondProgramInAFolderIsRefused()
{
    QTemporaryDir folder;
    RecordingDialogs dialogs;
    {
        WorkingFolderLock first(folder.path());
        QVERIFY(first.take(dialogs));
        WorkingFolderLock second(folder.path());
        QVERIFY(!second.take(dialogs));
        QCOMPARE(dialogs.shown, QStringList{QStringLiteral("Program KX520S-PC już działa w folderze %1.\n"
                                                           "Drugi egzemplarz nie zostanie uruchomiony.")
                                                .arg(QDir::toNativeSeparators(folder.path()))});
        // Another folder is another program's.
        QTemporaryDir elsewhere;
        QVERIFY(WorkingFolderLock(elsewhere.path()).take(dialogs));
    }
    QVERIFY(WorkingFolderLock(folder.path()).take(dialogs));
    QCOMPARE(dialogs.shown.size(), 1);
}

void StartupTest::lockOfAKilledProgramIsTakenOver()
{
    QTemporaryDir folder;
    StartedProgram program(folder.path());
    const QString lockFile = folder.filePath("KX520S-PC.lock");
    QVERIFY(QTest::qWaitFor([&] { return QFile::exists(lockFile); }, 10000));
    RecordingDialogs dialogs;
    QVERIFY(!WorkingFolderLock(folder.path()).take(dialogs));
    program.process.kill();
    QVERIFY(program.process.waitForFinished());
    QVERIFY(QFile::exists(lockFile)); // left behind, as by a crash
    dialogs.shown.clear();
    QVERIFY(WorkingFolderLock(folder.path()).take(dialogs));
    QCOMPARE(dialogs.shown, QStringList());
}

void StartupTest::terminationSignalClosesCleanly()
{
    QTemporaryDir folder;
    // No port to connect to: the program starts and waits.
    writeFile(folder.filePath("config.ini"), contents(QStringLiteral(KX_SOURCE_DIR "/data/config.ini"))
                                                 .replace("domyslny_port_com= COM1", "domyslny_port_com= "));
    StartedProgram program(folder.path());
    QVERIFY(QTest::qWaitFor([&] { return QFile::exists(folder.filePath("KX520S-PC.lock")); }, 10000));
    QTest::qWait(500);
    ::kill(pid_t(program.process.processId()), SIGTERM);
    QVERIFY(program.process.waitForFinished(10000));
    QCOMPARE(program.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process.exitCode(), 0);
    QVERIFY(!QFile::exists(folder.filePath("KX520S-PC.lock")));
}

void StartupTest::qtTextsArePolish()
{
    QTranslator translator;
    QVERIFY(installPolishQtTexts(translator));
    QMessageBox box(QMessageBox::Question, "KX520S-PC", "?", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString("Tak"));
    QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), QString("Nie"));
    QCoreApplication::removeTranslator(&translator);
}

void StartupTest::missingTranslationIsNotFatal()
{
    QTemporaryDir empty;
    QTranslator translator;
    QVERIFY(!installPolishQtTexts(translator, empty.path()));
    QMessageBox box(QMessageBox::Question, "KX520S-PC", "?", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString("Yes"));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"

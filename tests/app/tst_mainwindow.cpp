#include "ChartPage.h"
#include "Com_debugger.h"
#include "ConfigText.h"
#include "DeviceLink.h"
#include "GuardedRun.h"
#include "HeldStartUp.h"
#include "Main.h"
#include "MessageBoxDialogs.h"
#include "Program.h"
#include "PtyPair.h"
#include "RecordingDialogs.h"
#include "ScopedWorkDir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace {

QStringList registerHeader(TForm1 &form)
{
    const QAbstractItemModel *table = form.findChild<QTableView *>("StringGrid1")->model();
    QStringList titles;
    for (int column = 0; column < table->columnCount(); ++column)
        titles << table->headerData(column, Qt::Horizontal).toString();
    return titles;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void fileDialogFilters_data();
    void fileDialogFilters();
    void fileDialogFolder_data();
    void fileDialogFolder();
    void sevenWindowsInTheirOrder();
    void mainWindowShell();
    void menuItems_data();
    void menuItems();
    void startWithoutConfigShowsOneMessage();
    void startWithConfigTakesItsValues();
    void timerThreeActsOnce();
    void closingMainWindowEndsTheProgram();
    void exitWithThePortOpenIsQuickAndSilent();
    void unreadableSettingsAreReportedAndKept();
    void onlyTheMainWindowShowsAtStart();
    void escapedExceptionEndsWithAFailure();
    void smallWindowsTakeTheKeys();
};

void MainWindowTest::sevenWindowsInTheirOrder()
{
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    const QList<QWidget *> windows = program.windows();
    const QStringList classes = {"TForm1",          "TMnoznikForm",  "TWartoscForm", "TO_programieForm",
                                 "TKonigLiniiForm", "TCOM_DBG_Form", "TAsystentForm"};
    const QStringList captions = {
        "KX520S-PC V1.00",           "Velto", "Velto", "ARKONA", "Konfiguracja linii wyjsc na wykresie", "COM_debugger",
        "łączenie z urządzeniem...."};
    const QList<QSize> sizes = {{947, 638}, {154, 89}, {153, 87}, {478, 183}, {460, 182}, {692, 489}, {319, 495}};
    QCOMPARE(windows.size(), classes.size());
    for (int i = 0; i < windows.size(); ++i) {
        QCOMPARE(QString(windows[i]->metaObject()->className()), classes[i]);
        QCOMPARE(windows[i]->windowTitle(), captions[i]);
        if (i == 0)
            QCOMPARE(program.main().centralWidget()->size(), sizes[i]);
        else
            QCOMPARE(windows[i]->size(), sizes[i]);
        QVERIFY2(!windows[i]->isVisible(), "every window starts hidden");
    }
    QCOMPARE(QApplication::applicationName(), QString("KX520S-PC"));
}

void MainWindowTest::mainWindowShell()
{
    ScopedWorkDir dir;
    dir.write("config.ini", configText("ttyNONE9"));
    RecordingDialogs dialogs;
    Program program(dialogs);
    TForm1 &form = program.main();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.centralWidget()->size(), QSize(947, 638));
    QCOMPARE(form.minimumSize(), form.maximumSize());

    auto *pages = form.findChild<QTabWidget *>("PageControl1");
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
        tabs << pages->widget(i)->objectName() + "=" + pages->tabText(i);
    QCOMPARE(tabs, (QStringList{"TabSheet1=Wskaźniki         ", "TabSheet2=Urządzenie   ", "TabSheet4=Wykres",
                                "TabSheet5=Rejestracja pomiarów"}));
    const QList<std::pair<const char *, QString>> groups = {{"GroupBox1", "Czujnik nr 0 - nie wykryto"},
                                                            {"GroupBox4", "Stan wyjść"},
                                                            {"GroupBox5", "Odczyt"},
                                                            {"GroupBox21", "Próbkowanie"},
                                                            {"GroupBox12", "Mode:"},
                                                            {"GroupBox6", "Led"},
                                                            {"GroupBox9", "decp"},
                                                            {"GroupBox7", "Beep"},
                                                            {"GroupBox8", "Tryb pracy wyjść"},
                                                            {"GroupBox10", "Rozdzielczość czujników"},
                                                            {"GroupBox20", "Stronicowanie"},
                                                            {"GroupBox13", "Pomiar"},
                                                            {"GroupBox15", "Kanał:"},
                                                            {"GroupBox16", "Plik:"},
                                                            {"GroupBox22", "Tabela"},
                                                            {"GroupBox17", "Informacje"}};
    for (const auto &[name, title] : groups) {
        auto *box = form.findChild<QGroupBox *>(name);
        QVERIFY2(box, name);
        QCOMPARE(box->title(), title);
    }
    const QList<std::pair<const char *, int>> timers = {{"Timer1", 50}, {"Timer2", 250}, {"Timer3", 1000}};
    for (const auto &[name, interval] : timers) {
        auto *timer = form.findChild<QTimer *>(name);
        QVERIFY2(timer && timer->isActive(), name);
        QCOMPARE(timer->interval(), interval);
    }
    QVERIFY(!form.findChild<QLabel *>("Label67")->isVisible());
    QVERIFY(!form.findChild<QLabel *>("Label68")->isVisible());
}

void MainWindowTest::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    QTest::newRow("firmware") << "Aktualizacja1"
                              << "aktualizacja firmware urządzenia..." << false;
    QTest::newRow("exit") << "zakocz1"
                          << "zakończ" << true;
    QTest::newRow("connect") << "pocz1"
                             << "połącz" << false;
    QTest::newRow("disconnect") << "rozcz1"
                                << "rozłącz" << false;
    QTest::newRow("COM14") << "COM14"
                           << "COM14" << true;
    QTest::newRow("auto") << "auto1"
                          << "auto" << true;
    QTest::newRow("monitor") << "debugger1"
                             << "debuger..." << false;
    QTest::newRow("wizard") << "wizard1"
                            << "Połączenie..." << true;
    QTest::newRow("help") << "pomocprogramu1"
                          << "pomoc programu" << true;
    QTest::newRow("manual") << "instrukcjaKX520Q1"
                            << "instrukcja KX520S" << true;
    QTest::newRow("about") << "orpogramie1"
                           << "o programie" << true;
}

void MainWindowTest::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, visible);
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    auto *action = program.main().findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->isVisible(), visible);
    auto *port = program.main().findChild<QMenu *>("port1");
    QCOMPARE(port->title(), QString("port"));
    QVERIFY(!port->menuAction()->isVisible());
}

void MainWindowTest::startWithoutConfigShowsOneMessage()
{
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    QCOMPARE(dialogs.shown, QStringList{"nie odnaleziono pliku konfiguracyjnego!"});
    QCOMPARE(program.link().connection().portName(), QString("COM1"));
    QCOMPARE(registerHeader(program.main()), QStringList(9, QString()));
    QCOMPARE(program.main().startDirectory(), dir.path());
}

void MainWindowTest::startWithConfigTakesItsValues()
{
    ScopedWorkDir dir;
    dir.write("config.ini", configText("COM7", 5));
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(program.link().connection().portName(), QString("COM7"));
    QCOMPARE(registerHeader(program.main()),
             (QStringList{"Index", "Czas [s]", "Czujnik 0", "Czujnik 1", "Czujnik 2", "PK1", "PK2", "", ""}));
    QCOMPARE(program.main().findChild<QSpinBox *>("CSpinEdit2")->value(), 10);
    // No sensor is present yet: the "Aktywny" boxes clear themselves.
    QVERIFY(!program.main().findChild<QCheckBox *>("CheckBox1")->isChecked());
}

void MainWindowTest::timerThreeActsOnce()
{
    ScopedWorkDir dir;
    dir.write("config.ini", configText("ttyNONE9"));
    RecordingDialogs dialogs;
    Program program(dialogs);
    auto *timer = program.main().findChild<QTimer *>("Timer3");
    QSignalSpy ticks(timer, &QTimer::timeout);
    QVERIFY(ticks.wait(2000));
    QVERIFY(!timer->isActive());
}

void MainWindowTest::closingMainWindowEndsTheProgram()
{
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    program.main().show();
    program.monitor().show();
    QTimer::singleShot(0, &program.main(), [&] { program.main().close(); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QApplication::exit(1); });
    guard.start(3000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!program.main().isVisible());
}

void MainWindowTest::exitWithThePortOpenIsQuickAndSilent()
{
    ScopedWorkDir dir;
    PtyPair pty;
    RecordingDialogs dialogs;
    QElapsedTimer timer;
    {
        Program program(dialogs);
        holdStartUpConnection(program.main());
        QCOMPARE(program.link().open(QString::fromLatin1(pty.portName()), 57600, false), 0);
        QTRY_VERIFY(program.link().connection().portOpen);
        pty.write("\xF4\xF4\x30");
        QTest::qWait(100); // a burst in flight when the window goes
        timer.start();
    }
    QVERIFY2(timer.elapsed() < 500, "the exit must not wait out the port's worker");
    QCOMPARE(
        dialogs.shown,
        (QStringList{"nie odnaleziono pliku konfiguracyjnego!",
                     QString("OK|Otwarto port %1\n Predkosc: 57600 kb/s").arg(QString::fromLatin1(pty.portName()))}));
}

void MainWindowTest::unreadableSettingsAreReportedAndKept()
{
    ScopedWorkDir dir;
    // There, but not readable as a file: a save at exit would put the defaults in its place.
    QVERIFY(QDir(dir.path()).mkdir("settings-folder"));
    QVERIFY(QFile::link(dir.path() + "/settings-folder", dir.path() + "/config.ini"));
    RecordingDialogs dialogs;
    {
        Program program(dialogs);
        holdStartUpConnection(program.main());
        program.main().show();
        program.main().close();
    }
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY2(dialogs.shown[0].startsWith("Nie można odczytać pliku konfiguracyjnego"), qPrintable(dialogs.shown[0]));
    QVERIFY2(dialogs.shown[0].contains("config.ini"), qPrintable(dialogs.shown[0]));
    const QFileInfo kept(dir.path() + "/config.ini");
    QVERIFY(kept.isSymLink());
    QVERIFY(kept.isDir());
}

void MainWindowTest::onlyTheMainWindowShowsAtStart()
{
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    program.main().show();
    QTest::qWait(700); // past every progress window's delay
    QWidgetList shown;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible())
            shown << top;
    QCOMPARE(shown, QWidgetList{&program.main()});
}

void MainWindowTest::escapedExceptionEndsWithAFailure()
{
    QStringList reported;
    const auto report = [&](const QString &message) { reported << message; };
    QCOMPARE(runGuarded([] { return 0; }, report), 0);
    QCOMPARE(runGuarded([] { return 3; }, report), 3);
    QVERIFY(reported.isEmpty());
    QCOMPARE(runGuarded([]() -> int { throw std::runtime_error("brak pamięci"); }, report), 1);
    QCOMPARE(runGuarded([]() -> int { throw 42; }, report), 1);
    QCOMPARE(reported, (QStringList{"brak pamięci", QString()}));
}

void MainWindowTest::smallWindowsTakeTheKeys()
{
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    Program program(dialogs);
    holdStartUpConnection(program.main());
    program.main().show();
    QVERIFY(QTest::qWaitForWindowActive(&program.main()));
    const auto opened = [](QWidget *window, const char *focused) {
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QWidget *expected = window->findChild<QWidget *>(focused);
        QVERIFY2(focus == expected || expected->isAncestorOf(focus), qPrintable(focus->objectName()));
        window->close();
    };
    program.main().findChild<QTabWidget *>()->setCurrentIndex(2);
    program.chart().findChild<QPushButton *>("BitBtn2")->click();
    opened(program.windows()[4], "CSpinEdit1");
    program.main().findChild<QAction *>("orpogramie1")->trigger();
    opened(program.windows()[3], "BitBtn1");
    program.main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&program.main()));
    QTest::keyClick(&program.main(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(program.monitor().isVisible());
}

void MainWindowTest::fileDialogFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("pairs") << "Text|*.txt|Excel| *.xls" << QStringList{"Text (*.txt)", "Excel (*.xls)"};
    QTest::newRow("pattern already named") << "JPEG files (*.jpg)|*.jpg" << QStringList{"JPEG files (*.jpg)"};
    QTest::newRow("another pattern named") << "Pictures (*.png)|*.jpg" << QStringList{"Pictures (*.png) (*.jpg)"};
    QTest::newRow("a description alone") << "Text" << QStringList{};
}

void MainWindowTest::fileDialogFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, shown);
    QCOMPARE(nameFilters(filter), shown);
}

void MainWindowTest::fileDialogFolder_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("documents");
    QTest::addColumn<QString>("opened");
    const QString home = QDir::homePath();
    const QString existing = QDir::tempPath();
    QTest::newRow("first dialog") << QString() << existing << existing;
    QTest::newRow("a file chosen before") << home << existing << home;
    QTest::newRow("last folder gone") << "/nonexistent/pomiary" << existing << existing;
    QTest::newRow("no documents folder") << QString() << "/nonexistent/Dokumenty" << home;
}

void MainWindowTest::fileDialogFolder()
{
    QFETCH(QString, last);
    QFETCH(QString, documents);
    QFETCH(QString, opened);
    QCOMPARE(::fileDialogFolder(last, documents), opened);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

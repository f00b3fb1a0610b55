#include "AsystenLaczenia.h"
#include "Com_debugger.h"
#include "ConfigText.h"
#include "DeviceLink.h"
#include "EventLoop.h"
#include "Main.h"
#include "Program.h"
#include "PtyInstrument.h"
#include "RecordingDialogs.h"
#include "ScopedWorkDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <algorithm>

namespace {

const QString kTypeWarning = "Podłączone urządzenie nie zostało rozpoznane jako KX520S!\nProgram będzie kontynuował "
                             "pracę, ale nie gwarantuje poprawnego działania.";

/// The program in a working folder whose config.ini names the simulated instrument's port.
struct Rig {
    ScopedWorkDir dir;
    PtyInstrument sim;
    RecordingDialogs dialogs;
    std::unique_ptr<Program> program;

    explicit Rig(bool connectAtStart = true, const QString &port = QString())
    {
        dir.write("config.ini", configText(port.isEmpty() ? QString::fromStdString(sim.portName()) : port));
        program = std::make_unique<Program>(dialogs);
        if (!connectAtStart)
            timer(&form(), "Timer3")->stop();
    }

    TForm1 &form() { return program->main(); }
    TAsystentForm &wizard() { return program->wizard(); }
    QString port() const { return QString::fromStdString(sim.portName()); }

    static QTimer *timer(QObject *owner, const char *name) { return owner->findChild<QTimer *>(name); }
    template <class T = QLabel> T *wizardChild(const QString &name) { return wizard().findChild<T *>(name); }
    template <class T> T *formChild(const char *name) { return form().findChild<T *>(name); }

    /// The wizard's 50 ms step machine, driven by hand once "Połącz" has opened the port.
    void connectByHand()
    {
        bool tried = false;
        QTimer *steps = timer(&wizard(), "Timer1");
        const auto stop = QObject::connect(&wizard(), &TAsystentForm::openFinished, [&] {
            steps->stop();
            tried = true;
        });
        wizard().BitBtn3Click();
        QTRY_VERIFY(tried);
        QObject::disconnect(stop);
    }

    bool markIs(int image, int templateImage)
    {
        return wizardChild(QString("Image%1").arg(image))->pixmap().toImage() ==
               wizardChild(QString("Image%1").arg(templateImage))->pixmap().toImage();
    }

    QStringList sentReads()
    {
        QStringList commands;
        const QStringList lines = program->monitor().findChild<QPlainTextEdit *>("Memo1")->toPlainText().split('\n');
        for (const QString &line : lines)
            if (line.startsWith(">sending read cmd: "))
                commands << line.section(' ', 3, 3).chopped(1);
        commands.removeDuplicates();
        return commands;
    }
};

constexpr int kDoneMark = 3;
constexpr int kFailedMark = 4;

bool sameExceptResolutions(DeviceParams a, DeviceParams b)
{
    std::fill(std::begin(a.Res), std::end(a.Res), 0.0f);
    std::fill(std::begin(b.Res), std::end(b.Res), 0.0f);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class ConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void startUpConnectionReadsEverything();
    void connectsOverAPacedLine();
    void pacedLineAnswersEveryTicksRequestApart();
    void otherTypeWarnsOnceAndCompletes();
    void silentInstrumentShowsFailureAndLateReplyResumes();
    void abortClosesThePort();
    void secondConnectSkipsWhatIsKnown();
    void startUpConnectionActsOnceAfterFailure();
    void servicePathMessages();
    void quietOpenOnlyForTheWizardsOwnOpen();
    void startWithoutDeviceOpensTheWizard();
    void lostRepliesAreMadeUp();
    void corruptRepliesStallIdentification();
    void unpluggedInstrumentReportsTheClose();
    void continuousSamplingShowsItsPeriod();
};

void ConnectionTest::startUpConnectionReadsEverything()
{
    Rig rig;
    QVERIFY(rig.wizardChild<QComboBox>("ComboBox1")->currentText() == rig.port());
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);
    QVERIFY(rig.wizard().isVisible());
    QVERIFY2(rig.dialogs.shown.isEmpty(), qPrintable(rig.dialogs.shown.join(" / ")));
    for (int image = 5; image <= 23; ++image) {
        QVERIFY2(rig.markIs(image, kDoneMark), qPrintable(QString("Image%1").arg(image)));
        QVERIFY(rig.wizardChild(QString("Image%1").arg(image))->isVisibleTo(&rig.wizard()));
    }
    QVERIFY(!rig.wizardChild<QPushButton>("BitBtn2")->isVisibleTo(&rig.wizard()));
    QVERIFY(sameExceptResolutions(rig.program->link().device().Set, rig.program->link().device().Stan));
    QCOMPARE(rig.formChild<QLabel>("Label63")->text(), QString("KX520S"));
    QCOMPARE(rig.formChild<QLabel>("Label64")->text(), QString("Hardware: 1.0 , Software: 1.2"));
    QCOMPARE(rig.formChild<QLabel>("Label65")->text(), QString("3"));

    // The panel's resolutions (1024) replace the instrument's 4096.
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.withModel([](SimInstrument &m) {
        return m.params().Res == std::array<float, 3>{1024, 1024, 1024};
    }),
                             5000);
    QTRY_COMPARE(rig.formChild<QLabel>("Label66")->text(), QString("gotowy do pracy"));

    runUntil([] { return false; }, 200); // idle passes as in the running program
    rig.formChild<QPushButton>("SpeedButton10")->click();
    QVERIFY(rig.program->link().acquisition().GO);
    QVERIFY(!rig.formChild<QGroupBox>("GroupBox10")->isEnabled());
    QVERIFY(runUntil([&] { return rig.program->link().channels().channelValue[1] != 0.0f; }, 5000));
    QVERIFY(runUntil([&] { return rig.program->link().acquisition().measTime > 0.5; }, 5000));
    QTRY_COMPARE(rig.formChild<QLabel>("Label66")->text(), QString("praca"));
    rig.formChild<QPushButton>("SpeedButton11")->click();
    QVERIFY(!rig.program->link().acquisition().GO);
    QVERIFY(rig.formChild<QGroupBox>("GroupBox10")->isEnabled());
}

void ConnectionTest::connectsOverAPacedLine()
{
    Rig rig;
    rig.sim.setFaults({.lineTiming = true});
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);
}

void ConnectionTest::pacedLineAnswersEveryTicksRequestApart()
{
    Rig rig(false);
    rig.sim.setFaults({.lineTiming = true});
    rig.sim.startRequestLog();
    rig.wizard().BitBtn3Click();
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);

    // Each answer is handed over on its own before the next tick asks again: every step
    // is asked once. Answers run together would be lost in pairs and the steps repeated.
    QList<int> asked;
    for (const auto &request : rig.sim.requestLog())
        asked << request.cmd;
    QList<int> steps; // identification is sent by step 1 and waited for by step 2
    for (int step = WizardFirstWait; step <= WizardLastWait; ++step)
        steps << wizardWait(step)->request;
    QList<int> distinct = asked;
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    QCOMPARE(distinct, steps);
    // One tick late by most of its period on a loaded machine may ask a step twice.
    QVERIFY2(asked.size() <= steps.size() + 2, qPrintable(QString::number(asked.size())));
}

void ConnectionTest::otherTypeWarnsOnceAndCompletes()
{
    Rig rig;
    rig.sim.setIdentity("KQ5");
    int stepWhenShown = -1;
    int stepAfterTicks = -1;
    rig.dialogs.whileOpen = [&] {
        // Ticks that fall while the wizard's own box is open run no step.
        stepWhenShown = rig.wizard().wizardStep();
        for (int tick = 0; tick < 3; ++tick)
            rig.wizard().Timer1Timer();
        stepAfterTicks = rig.wizard().wizardStep();
    };
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);
    QCOMPARE(rig.dialogs.shown, QStringList{kTypeWarning});
    QCOMPARE(stepWhenShown, 3); // identification done, hardware version next
    QCOMPARE(stepAfterTicks, stepWhenShown);
    QCOMPARE(rig.formChild<QLabel>("Label63")->text(), QString("KX520Q"));
}

void ConnectionTest::silentInstrumentShowsFailureAndLateReplyResumes()
{
    Rig rig(false);
    rig.sim.setFaults({.silent = true});
    rig.connectByHand();
    QCOMPARE(rig.wizard().wizardStep(), 1);
    rig.wizard().Timer1Timer(); // identification asked once
    QCOMPARE(rig.wizard().wizardStep(), 2);
    QTRY_COMPARE(rig.sim.requestsServed(), 1);
    for (int tick = 1; tick <= 5; ++tick) {
        QTest::qWait(50); // ticks are 50 ms apart: the previous request has left the port
        rig.wizard().Timer1Timer();
        QTRY_COMPARE(rig.sim.requestsServed(), 1 + tick); // asked again on every tick
        QVERIFY2(rig.wizardChild("Image9")->isHidden(), "no failure before the 6th tick");
    }
    QTest::qWait(50);
    rig.wizard().Timer1Timer();
    QVERIFY(!rig.wizardChild("Image9")->isHidden());
    QVERIFY(rig.markIs(9, kFailedMark));
    QVERIFY(rig.markIs(23, kFailedMark));
    QVERIFY(rig.wizardChild<QPushButton>("BitBtn3")->isEnabled());
    QTRY_COMPARE(rig.sim.requestsServed(), 7);

    rig.sim.setFaults({});
    for (int i = 0; i < 40 && rig.wizard().wizardStep() == 2; ++i) {
        rig.wizard().Timer1Timer();
        QTest::qWait(70);
    }
    QCOMPARE(rig.wizard().wizardStep(), 3);
    QVERIFY(rig.markIs(9, kDoneMark));
    Rig::timer(&rig.wizard(), "Timer1")->start();
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);
}

void ConnectionTest::abortClosesThePort()
{
    Rig rig(false);
    rig.sim.setFaults({.silent = true});
    rig.connectByHand();
    QTRY_VERIFY(rig.program->link().port().running());
    rig.wizard().BitBtn2Click();
    QVERIFY(!rig.program->link().port().running());
    QVERIFY(!rig.program->link().connection().portOpen);
    QVERIFY(!rig.program->link().connection().deviceFound);
    QCOMPARE(rig.wizard().wizardStep(), 0);
    QVERIFY(!rig.wizardChild<QPushButton>("BitBtn2")->isVisibleTo(&rig.wizard()));
    QTRY_COMPARE(rig.dialogs.shown, QStringList{"OK|Zamknieto port " + rig.port()});
}

void ConnectionTest::secondConnectSkipsWhatIsKnown()
{
    Rig rig;
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);
    Rig::timer(&rig.form(), "Timer2")->stop(); // the loop's own reads stay out of the count
    rig.wizard().BitBtn4Click();
    QTRY_VERIFY(!rig.dialogs.shown.isEmpty()); // "Zamknieto port"
    rig.program->monitor().show();
    rig.wizard().BitBtn3Click();
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);
    const QStringList reads = rig.sentReads();
    for (const char *asked :
         {"32", "4", "1", "8", "9", "12", "3", "2", "13", "14", "15", "16", "17", "18", "19", "20", "21"})
        QVERIFY2(reads.contains(asked), asked);
    for (const char *skipped : {"34", "35", "26", "37", "38", "39"})
        QVERIFY2(!reads.contains(skipped), skipped);
}

void ConnectionTest::startUpConnectionActsOnceAfterFailure()
{
    Rig rig(true, "ttyNONE9");
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialogs.shown.size(), 1, 3000);
    // The box's first line is the wizard's own; the second says why, naming the device.
    QVERIFY2(rig.dialogs.shown[0].startsWith("Nie znaleziono wybranego portu COM\n"), qPrintable(rig.dialogs.shown[0]));
    QVERIFY(rig.dialogs.shown[0].contains("/dev/ttyNONE9"));
    QVERIFY(!Rig::timer(&rig.form(), "Timer3")->isActive());
    QTest::qWait(1300);
    QCOMPARE(rig.dialogs.shown.size(), 1);
    QCOMPARE(rig.wizard().wizardStep(), 0);
}

void ConnectionTest::servicePathMessages()
{
    Rig rig(false);
    const QString openTitle = "Blad otwarcia portu COM|";
    rig.form().pocz1Click();
    QTRY_COMPARE(rig.dialogs.shown, QStringList{"OK|Otwarto port " + rig.port() + "\n Predkosc: 57600 kb/s"});
    rig.form().pocz1Click();
    QCOMPARE(rig.dialogs.shown.last(), openTitle + "Jeden z portow juz zostal otwarty.");
    rig.form().rozcz1Click();
    QTRY_COMPARE(rig.dialogs.shown.last(), "OK|Zamknieto port " + rig.port());
    rig.form().rozcz1Click();
    QCOMPARE(rig.dialogs.shown.last(), QString("Blad zamkniecia portu COM|Zaden port jeszcze nie zostal otwarty."));

    rig.form().portItemClick(rig.form().findChild<QAction *>("COM12"));
    rig.form().auto1Click();
    QCOMPARE(rig.program->link().connection().portName(), QString("COM12"));
    rig.form().portItemClick(rig.form().findChild<QAction *>("COM14"));
    rig.form().pocz1Click();
    QVERIFY(rig.dialogs.shown.last().startsWith(openTitle + "Nie mozna otworzyc portu COM14\n"));
    QVERIFY(rig.dialogs.shown.last().contains("/dev/ttyS13"));
    QVERIFY(!rig.program->link().connection().deviceFound);
}

void ConnectionTest::quietOpenOnlyForTheWizardsOwnOpen()
{
    Rig rig(false);
    rig.connectByHand();
    QThread::msleep(200); // the worker's PortOpened waits in the queue well after the open returned
    QCoreApplication::processEvents();
    QVERIFY(rig.dialogs.shown.isEmpty());
    rig.wizard().BitBtn4Click();
    QTRY_COMPARE(rig.dialogs.shown, QStringList{"OK|Zamknieto port " + rig.port()});
    rig.form().pocz1Click();
    QTRY_COMPARE(rig.dialogs.shown.size(), 2);
    QCOMPARE(rig.dialogs.shown.last(), "OK|Otwarto port " + rig.port() + "\n Predkosc: 57600 kb/s");
}

void ConnectionTest::startWithoutDeviceOpensTheWizard()
{
    Rig rig(false);
    rig.form().SpeedButton10Click();
    QCOMPARE(rig.dialogs.shown, QStringList{"Nie odnaleziono urządznia!"});
    QVERIFY(rig.wizard().isVisible());
    QVERIFY(!rig.program->link().acquisition().GO);
}

void ConnectionTest::lostRepliesAreMadeUp()
{
    Rig rig;
    rig.sim.setFaults({.dropEvery = 3});
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 20000);
    QVERIFY(sameExceptResolutions(rig.program->link().device().Set, rig.program->link().device().Stan));
}

void ConnectionTest::corruptRepliesStallIdentification()
{
    Rig rig(false);
    rig.program->monitor().show();
    rig.sim.setFaults({.corruptChecksums = true});
    rig.connectByHand();
    auto *memo = rig.program->monitor().findChild<QPlainTextEdit *>("Memo1");
    for (int tick = 0; tick < 7; ++tick) {
        rig.wizard().Timer1Timer();
        QTRY_COMPARE(memo->toPlainText().count("  <<BAD CRC :("), 1 + tick);
    }
    QCOMPARE(rig.wizard().wizardStep(), 2);
    QCOMPARE(rig.program->link().device().deviceType, 0);
    QVERIFY(!rig.wizardChild("Image9")->isHidden());
    QVERIFY(rig.markIs(9, kFailedMark));
}

void ConnectionTest::unpluggedInstrumentReportsTheClose()
{
    Rig rig;
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);
    rig.sim.disconnect();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program->link().connection().portOpen, 3000);
    QCOMPARE(rig.dialogs.shown, QStringList{"OK|Zamknieto port " + rig.port()});
    QVERIFY(!rig.program->link().port().running());
}

void ConnectionTest::continuousSamplingShowsItsPeriod()
{
    Rig rig;
    rig.sim.setFaults({.lineTiming = true});
    rig.formChild<QCheckBox>("CheckBox18")->setChecked(true);
    QVERIFY(rig.formChild<QLabel>("Label67")->isVisibleTo(&rig.form()));
    QTRY_VERIFY_WITH_TIMEOUT(rig.program->link().connection().deviceFound, 15000);
    runUntil([] { return false; }, 200);
    rig.form().SpeedButton10Click();
    QVERIFY(runUntil([&] { return rig.formChild<QLabel>("Label67")->text() != "0"; }, 5000));
    bool ok = false;
    const double periodMs = rig.formChild<QLabel>("Label67")->text().replace(',', '.').toDouble(&ok);
    QVERIFY(ok);
    // Request and frame of three sensors take 23 bytes, 3.99 ms, on the line; frames handed
    // over only after the 50 ms read gap would make it over 54 ms.
    QVERIFY2(periodMs >= 3.9 && periodMs < 25, qPrintable(QString::number(periodMs)));
}

QTEST_MAIN(ConnectionTest)
#include "tst_connection.moc"

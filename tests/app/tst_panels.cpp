#include "ConfigText.h"
#include "DeviceLink.h"
#include "EditColour.h"
#include "FrameBuilders.h"
#include "HeldStartUp.h"
#include "Main.h"
#include "Mnoznikunit.h"
#include "NumberFormat.h"
#include "ParameterSync.h"
#include "Program.h"
#include "ProtocolFrame.h"
#include "PtyInstrument.h"
#include "RecordingDialogs.h"
#include "RecordingTrace.h"
#include "ScopedWorkDir.h"
#include "UpDown.h"
#include "Wartoscunit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace kx;

namespace {

const QColor kSkyBlue(166, 202, 240);

/// The program's windows. Without a port named, the program is never connected and the
/// panels act on the wanted values only.
struct Screen {
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    std::unique_ptr<Program> program;

    explicit Screen(const QString &port = {})
    {
        if (!port.isEmpty())
            dir.write("config.ini", configText(port));
        program = std::make_unique<Program>(dialogs);
        if (port.isEmpty())
            holdStartUpConnection(program->main());
    }

    DeviceState &device() { return program->link().device(); }
    TMnoznikForm &mnoznik() { return *static_cast<TMnoznikForm *>(program->windows()[1]); }
    TWartoscForm &wartosc() { return *static_cast<TWartoscForm *>(program->windows()[2]); }
    template <class T = QWidget> T *child(const QString &name) { return program->main().findChild<T *>(name); }
    void click(const QString &button) { child<QAbstractButton>(button)->click(); }
};

/// What outlives the program: the simulated instrument and the trace of what is offered to it.
struct Line {
    PtyInstrument sim;
    RecordingTrace trace;
};

/// The program against the simulated instrument, which starts with `params`; the program
/// connects by itself a second after start.
struct Rig : Line, Screen {
    explicit Rig(const SimParams &params = {}) : Screen(QString::fromStdString(sim.portName()))
    {
        sim.withModel([&](SimInstrument &m) { m.setParams(params); });
        program->link().setTrace(&trace);
    }

    /// Connected, and the synchronisation has nothing left to write.
    bool settle()
    {
        if (!waitFor([&] { return program->link().connection().deviceFound; }, 15000))
            return false;
        return waitFor([&] { return !firstDifference(device().Set, device().Stan) && !device().panelRefreshPending; },
                       5000);
    }

    SimParams simParams()
    {
        return sim.withModel([](SimInstrument &m) { return m.params(); });
    }

    /// The write requests offered to the port since the trace was last cleared, as "cmd: d0 d1 d2 d3".
    QStringList writes() const
    {
        QStringList out;
        const QString prefix = QStringLiteral(">sending write cmd: ");
        for (const QString &line : trace.lines)
            if (line.startsWith(prefix))
                out << line.mid(prefix.size()).section(" ,CRC", 0, 0);
        return out;
    }

    /// Runs the event loop as the program does, so that it blocks when idle and the idle handler runs.
    static bool waitFor(const std::function<bool()> &done, int timeoutMs)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!done()) {
            if (elapsed.elapsed() > timeoutMs)
                return false;
            QEventLoop loop;
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return true;
    }
    static void idleFor(int ms)
    {
        waitFor([] { return false; }, ms);
    }
};

QString writeOf(uint8_t cmd, const FrameData &data = kZeroData)
{
    return QString("%1: %2 %3 %4 %5").arg(cmd).arg(data[0]).arg(data[1]).arg(data[2]).arg(data[3]);
}

QStringList commandsOf(const QStringList &writes)
{
    QStringList out;
    for (const QString &w : writes)
        out << w.section(':', 0, 0);
    return out;
}

/// Checks the state and the colour that shows it together: one without the other misleads the user.
bool shows(QWidget *edit, EditState state)
{
    const QColor base = edit->palette().color(QPalette::Base);
    switch (state) {
    case EditState::Typing:
        return editState(edit) == state && base == QApplication::palette().color(QPalette::ToolTipBase);
    case EditState::Entered:
        return editState(edit) == state && base == kSkyBlue;
    case EditState::Confirmed:
        return editState(edit) == state && base == QColor(Qt::white);
    }
    return false;
}

/// A correction of the wanted values by name: "UZP1", "Offset2", "COEF0".
float &correction(DeviceParams &params, const QString &member)
{
    const int sensor = member.right(1).toInt();
    const QString name = member.chopped(1);
    return name == "UZP" ? params.UZP[sensor] : name == "Offset" ? params.Offset[sensor] : params.COEF[sensor];
}

bool sameSettings(const SimParams &a, const SimParams &b)
{
    return a.mode == b.mode && a.decp == b.decp && a.Beep == b.Beep && a.LED == b.LED && a.OnTime == b.OnTime &&
           a.PK1 == b.PK1 && a.PK2 == b.PK2 && a.UZP == b.UZP && a.Offset == b.Offset && a.COEF == b.COEF &&
           a.Q_NR == b.Q_NR;
}

void typeAndEnter(QLineEdit *edit, const QString &text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

} // namespace

class PanelsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void dialogEntry_data();
    void dialogEntry();
    void dialogOpening();
    void multiplierConfirmedByInstrument();
    void zeroNowIsNotUndone();
    void resetWritesInOrder();
    void guardedLedBox();
    void refreshKeepsTypedText();
    void thresholds_data();
    void thresholds();
    void guardedArrows();
    void activeSensorList_data();
    void activeSensorList();
    void activeSensorListColours_data();
    void activeSensorListColours();
    void unpluggedSensorStopsDuringAcquisition();
    void cycleResetIsAcknowledged();
    void defaultsAreReadBack();
};

void PanelsTest::dialogEntry_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("member");
    QTest::addColumn<float>("expected");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("textAfter");
    const auto row = [](const char *name, const char *button, const char *typed, const char *member, float expected,
                        EditState state, const char *textAfter) {
        QTest::newRow(name) << QString(button) << QString(typed) << QString(member) << expected << int(state)
                            << QString(textAfter);
    };
    const EditState entered = EditState::Entered;
    // Wanted values before typing: UZP 7.25, Offset 3.5, COEF 1.5 for every sensor.
    row("multiplier 1", "SpeedButton6", "2,5", "COEF1", 2.5f, entered, "2,5");
    row("zero position rounded", "SpeedButton4", "1,23456", "UZP1", 1.235f, entered, "1,23456");
    row("zero position 2 negative", "SpeedButton7", "-45,0004", "UZP2", -45.0f, entered, "-45,0004");
    row("offset 0", "SpeedButton2", "-12,5", "Offset0", -12.5f, entered, "-12,5");
    row("offset not a number", "SpeedButton8", "abc", "Offset2", 3.5f, entered, "abc");
    row("zero position not a number", "SpeedButton1", "12a", "UZP0", 7.25f, entered, "12a");
    row("multiplier not a number", "SpeedButton9", "abc", "COEF2", 1.5f, entered, "abc");
    // A refused multiplier shows the kept one, confirmed.
    row("multiplier 0 refused", "SpeedButton3", "0", "COEF0", 1.5f, EditState::Confirmed, "1,5");
    row("multiplier rounding to 0 refused", "SpeedButton6", "0,0004", "COEF1", 1.5f, EditState::Confirmed, "1,5");
    row("multiplier -0 refused", "SpeedButton6", "-0,0004", "COEF1", 1.5f, EditState::Confirmed, "1,5");
}

void PanelsTest::dialogEntry()
{
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QString, member);
    QFETCH(float, expected);
    QFETCH(int, state);
    QFETCH(QString, textAfter);
    Screen screen;
    DeviceParams &set = screen.device().Set;
    for (int i = 0; i < 3; ++i) {
        set.UZP[i] = 7.25f;
        set.Offset[i] = 3.5f;
        set.COEF[i] = 1.5f;
    }
    const DeviceParams before = set;
    screen.click(button);
    const bool multiplier = member.startsWith("COEF");
    QLineEdit *edit = multiplier ? screen.mnoznik().Edit6() : screen.wartosc().Edit1();
    QVERIFY(multiplier ? screen.mnoznik().isVisible() : screen.wartosc().isVisible());
    edit->clear();
    QTest::keyClicks(edit, typed);
    QVERIFY(shows(edit, EditState::Typing));
    QCOMPARE(edit->text(), typed);
    QCOMPARE(std::memcmp(&set, &before, sizeof set), 0); // nothing taken before Enter
    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(correction(set, member), expected);
    QVERIFY(shows(edit, EditState(state)));
    QCOMPARE(edit->text(), textAfter);
    DeviceParams others = set;
    DeviceParams original = before;
    correction(others, member) = correction(original, member);
    QCOMPARE(std::memcmp(&others, &before, sizeof set), 0); // nothing else changed
}

void PanelsTest::dialogOpening()
{
    SimParams params;
    params.Offset = {1.5f, 0.0f, 7.25f};
    params.UZP = {0.0f, 0.0f, 33.125f};
    Rig rig(params);
    QVERIFY(rig.settle());
    TWartoscForm &dialog = rig.wartosc();
    rig.click("SpeedButton2"); // offset, sensor 0
    QCOMPARE(dialog.Label1()->text(), QString("Offset ="));
    QCOMPARE(dialog.channel, 0);
    QCOMPARE(dialog.Edit1()->text(), QString("1,5"));
    QVERIFY(shows(dialog.Edit1(), EditState::Confirmed));
    QTest::keyClicks(dialog.Edit1(), "9");

    // While it is open, the other sensors' buttons change nothing.
    rig.click("SpeedButton7");
    rig.click("SpeedButton8");
    QCOMPARE(dialog.channel, 0);
    QCOMPARE(dialog.Label1()->text(), QString("Offset ="));
    QCOMPARE(dialog.Edit1()->text(), QString("1,59"));
    QVERIFY(shows(dialog.Edit1(), EditState::Typing));

    dialog.findChild<QAbstractButton *>("BitBtn1")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(rig.device().Set.Offset[0], 1.5f); // not entered, not taken
    rig.click("SpeedButton8");
    QCOMPARE(dialog.channel, 2);
    QCOMPARE(dialog.Edit1()->text(), QString("7,25"));
    QVERIFY(shows(dialog.Edit1(), EditState::Confirmed));
    dialog.hide();
    rig.click("SpeedButton7");
    QCOMPARE(dialog.Label1()->text(), QString("Poz. zero ="));
    QCOMPARE(dialog.Edit1()->text(), QString("33,125"));
    QVERIFY(shows(dialog.Edit1(), EditState::Confirmed));

    rig.click("SpeedButton3");
    QCOMPARE(rig.mnoznik().channel, 0);
    rig.click("SpeedButton9");
    QCOMPARE(rig.mnoznik().channel, 0);
}

void PanelsTest::multiplierConfirmedByInstrument()
{
    Rig rig;
    QVERIFY(rig.settle());
    rig.trace.lines.clear();
    rig.click("SpeedButton6");
    QLineEdit *edit = rig.mnoznik().Edit6();
    QCOMPARE(edit->text(), QString("1"));
    typeAndEnter(edit, "2,5");
    QCOMPARE(rig.device().Set.COEF[1], 2.5f);
    QVERIFY(shows(edit, EditState::Entered));
    QCOMPARE(rig.child<QLabel>("Label11")->text(), QString("1")); // never shown from the wanted value
    QVERIFY(Rig::waitFor([&] { return shows(edit, EditState::Confirmed); }, 3000));
    QCOMPARE(edit->text(), QString("2,5"));
    QCOMPARE(rig.child<QLabel>("Label11")->text(), QString("2,5"));
    QCOMPARE(rig.simParams().COEF[1], 2.5f);
    QCOMPARE(rig.writes().first(), writeOf(CMD_COEF1, packedData(2.5f)));
}

void PanelsTest::zeroNowIsNotUndone()
{
    SimParams params;
    params.UZP[0] = 0.5f;
    Rig rig(params);
    QVERIFY(rig.settle());
    rig.idleFor(300); // the sensor moves away from 0.5
    rig.trace.lines.clear();
    rig.click("SpeedButton21");
    QCOMPARE(rig.writes(), QStringList{writeOf(CMD_ZERO0)});
    QVERIFY(Rig::waitFor([&] { return rig.device().Set.UZP[0] != 0.5f; }, 3000));
    const float zero = rig.simParams().UZP[0];
    QVERIFY(zero != 0.5f);
    QVERIFY(sameParameter(rig.device().Set.UZP[0], zero));
    QVERIFY(sameParameter(rig.device().Stan.UZP[0], zero));
    rig.idleFor(1000);
    QCOMPARE(rig.simParams().UZP[0], zero);
    QVERIFY2(!commandsOf(rig.writes()).contains(QString::number(CMD_UZP0)), qPrintable(rig.writes().join(" / ")));
    QCOMPARE(rig.child<QLabel>("Label4")->text(), FormatGeneral(RoundDecimal(zero, -3)));
}

void PanelsTest::resetWritesInOrder()
{
    SimParams params;
    params.UZP[2] = 10.0f;
    params.COEF[2] = 2.0f;
    params.Offset[2] = 5.0f;
    Rig rig(params);
    QVERIFY(rig.settle());
    QCOMPARE(rig.device().Set.COEF[2], 2.0f);
    rig.trace.lines.clear();
    rig.click("SpeedButton25");
    const DeviceParams &set = rig.device().Set;
    QCOMPARE(set.UZP[2], 0.0f);
    QCOMPARE(set.COEF[2], 1.0f);
    QCOMPARE(set.Offset[2], 0.0f);
    const QStringList sent = {writeOf(CMD_UZP2, packedData(0.0f)), writeOf(CMD_COEF2, {0, 0, 0x80, 0x3F}),
                              writeOf(CMD_OFFSET2, packedData(0.0f))};
    QCOMPARE(rig.writes(), sent); // offered at once, before any tick
    QVERIFY(Rig::waitFor(
        [&] {
            const SimParams now = rig.simParams();
            return now.UZP[2] == 0.0f && now.COEF[2] == 1.0f && now.Offset[2] == 0.0f;
        },
        3000));
    QVERIFY(rig.settle());
    QCOMPARE(rig.child<QLabel>("Label16")->text(), QString("0"));
    QCOMPARE(rig.child<QLabel>("Label17")->text(), QString("1"));
    QCOMPARE(rig.child<QLabel>("Label18")->text(), QString("0"));
}

void PanelsTest::guardedLedBox()
{
    Screen screen;
    DeviceState &device = screen.device();
    auto *led = screen.child<QLineEdit>("Edit4");
    device.Stan.LED = 3;
    device.Set.LED = 3;
    screen.program->main().refreshPanel();
    device.panelRefreshPending = true;
    QTest::keyClicks(led, "7");
    QCOMPARE(led->text(), QString("37")); // the character still goes in
    QVERIFY(shows(led, EditState::Confirmed));
    QTest::keyClick(led, Qt::Key_Return);
    QCOMPARE(device.Set.LED, 3);
    QVERIFY(shows(led, EditState::Confirmed));

    device.panelRefreshPending = false;
    QTest::keyClick(led, Qt::Key_Backspace);
    QVERIFY(shows(led, EditState::Typing));
    QTest::keyClick(led, Qt::Key_Return);
    QCOMPARE(device.Set.LED, 3);
    typeAndEnter(led, "15"); // beyond the arrows, taken as typed
    QCOMPARE(device.Set.LED, 15);
    QVERIFY(shows(led, EditState::Entered));
    typeAndEnter(led, "abc");
    QCOMPARE(device.Set.LED, 15);
    QVERIFY(shows(led, EditState::Entered));
}

void PanelsTest::refreshKeepsTypedText()
{
    Screen screen;
    DeviceState &device = screen.device();
    auto *led = screen.child<QLineEdit>("Edit4");
    auto *onTime = screen.child<QLineEdit>("Edit5");
    led->clear();
    QTest::keyClicks(led, "8");
    device.Stan.LED = 2;
    device.Stan.OnTime = 250;
    device.Stan.PK1 = 12.3456f;
    screen.program->main().refreshPanel();
    QCOMPARE(led->text(), QString("8"));
    QVERIFY(shows(led, EditState::Typing));
    QCOMPARE(onTime->text(), QString("250"));
    QVERIFY(shows(onTime, EditState::Confirmed));
    QCOMPARE(screen.child<QLineEdit>("Edit6")->text(), QString("12,346"));
    QTest::keyClick(led, Qt::Key_Return);
    QCOMPARE(device.Set.LED, 8);
}

void PanelsTest::thresholds_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<float>("pk1");
    QTest::addColumn<float>("pk2");
    QTest::newRow("P1 rounded") << QString("Edit6") << QString("12,3456") << 12.346f << 4.0f;
    QTest::newRow("P2 as read") << QString("Edit7") << QString("12,3456") << 3.0f << 12.3456f;
    QTest::newRow("P1 not a number") << QString("Edit6") << QString("12a") << 3.0f << 4.0f;
    QTest::newRow("P2 negative") << QString("Edit7") << QString("-0,0001") << 3.0f << -0.0001f;
}

void PanelsTest::thresholds()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(float, pk1);
    QFETCH(float, pk2);
    Screen screen;
    DeviceState &device = screen.device();
    device.Set.PK1 = 3.0f;
    device.Set.PK2 = 4.0f;
    device.panelRefreshPending = true; // the thresholds are not guarded
    auto *box = screen.child<QLineEdit>(edit);
    typeAndEnter(box, typed);
    QCOMPARE(device.Set.PK1, pk1);
    QCOMPARE(device.Set.PK2, pk2);
    QVERIFY(shows(box, EditState::Entered));
}

void PanelsTest::guardedArrows()
{
    Screen screen;
    DeviceState &device = screen.device();
    auto *led = screen.child<QLineEdit>("Edit4");
    auto *arrows = screen.child<UpDown>("UpDown1");
    const QList<QToolButton *> buttons = arrows->findChildren<QToolButton *>();
    QCOMPARE(buttons.size(), 2);
    device.Stan.LED = 3;
    device.Set.LED = 3;
    screen.program->main().refreshPanel();
    QSignalSpy steps(arrows, &UpDown::clicked);
    device.panelRefreshPending = true;
    for (QToolButton *button : buttons)
        button->click();
    QCOMPARE(steps.size(), 2);
    const auto direction = [&](int n) { return steps.at(n).at(0).value<UpDown::Direction>(); };
    // Whichever button is up, one click each way comes back to 3 via 4 or 2.
    QCOMPARE(led->text(), QString("3"));
    QCOMPARE(device.Set.LED, 3);
    buttons[0]->click();
    const QString stepped = direction(2) == UpDown::Up ? "4" : "2";
    QCOMPARE(led->text(), stepped);
    QCOMPARE(device.Set.LED, 3);
    QVERIFY(shows(led, EditState::Confirmed));

    device.panelRefreshPending = false;
    buttons[0]->click();
    const int next = direction(3) == UpDown::Up ? 5 : 1;
    QCOMPARE(led->text(), QString::number(next));
    QCOMPARE(device.Set.LED, next);
    QVERIFY(shows(led, EditState::Entered));
}

void PanelsTest::activeSensorList_data()
{
    QTest::addColumn<bool>("guarded");
    QTest::addColumn<uint>("expected");
    QTest::newRow("taken") << false << 2u;
    QTest::newRow("guarded") << true << 0u;
}

void PanelsTest::activeSensorList()
{
    QFETCH(bool, guarded);
    QFETCH(uint, expected);
    Screen screen;
    DeviceState &device = screen.device();
    auto *list = screen.child<QComboBox>("ComboBox2");
    auto *mode = screen.child<QComboBox>("ComboBox1");
    screen.program->main().refreshPanel(); // Q_NR 0 selected
    device.panelRefreshPending = guarded;
    QSignalSpy activated(list, &QComboBox::activated);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(activated.size(), 2);
    QCOMPARE(list->currentIndex(), 2);
    QCOMPARE(device.Set.Q_NR, expected);
    mode->setCurrentIndex(3);
    emit mode->activated(3);
    QCOMPARE(device.Set.mode, guarded ? 0 : 3);
    // A selection by code, as the refresh makes, is no choice of the user's.
    device.panelRefreshPending = false;
    list->setCurrentIndex(1);
    QCOMPARE(device.Set.Q_NR, expected);
}

void PanelsTest::activeSensorListColours_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("sensor 0 red") << 0 << QColor(255, 0, 0);
    QTest::newRow("sensor 1 lime") << 1 << QColor(0, 255, 0);
    QTest::newRow("sensor 2 aqua") << 2 << QColor(0, 255, 255);
}

void PanelsTest::activeSensorListColours()
{
    QFETCH(int, item);
    QFETCH(QColor, colour);
    Screen screen;
    auto *list = screen.child<QComboBox>("ComboBox2");
    list->setCurrentIndex(item);
    list->resize(140, 22);
    const QImage face = list->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int inColour = 0;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            inColour += QColor(face.pixel(x, y)) == colour;
    // The field is most of the closed list; frame, arrow and text take the rest.
    QVERIFY2(inColour > face.width() * face.height() * 2 / 5,
             qPrintable(QString("%1 of %2").arg(inColour).arg(face.width() * face.height())));
}

void PanelsTest::unpluggedSensorStopsDuringAcquisition()
{
    Rig rig;
    QVERIFY(rig.settle());
    auto *active = rig.child<QCheckBox>("CheckBox2");
    active->setChecked(true);
    rig.child<QCheckBox>("CheckBox1")->setChecked(true);
    QVERIFY(active->isChecked());
    auto *value = rig.child<QLineEdit>("Edit2");
    auto *other = rig.child<QLineEdit>("Edit1");
    Rig::idleFor(200);
    rig.click("SpeedButton10");
    QVERIFY(rig.program->link().acquisition().GO);
    const QString first = value->text();
    QVERIFY(Rig::waitFor([&] { return value->text() != first; }, 5000));

    rig.sim.setSensorPresent(1, false);
    QVERIFY(Rig::waitFor([&] { return !active->isChecked(); }, 3000));
    const QString frozen = value->text();
    const QString otherBefore = other->text();
    Rig::idleFor(600);
    QCOMPARE(value->text(), frozen);
    QVERIFY(other->text() != otherBefore); // the samples still flow
    active->setChecked(true);
    QVERIFY(!active->isChecked()); // an absent sensor cannot be switched on
    rig.click("SpeedButton11");
}

void PanelsTest::cycleResetIsAcknowledged()
{
    Rig rig;
    QVERIFY(rig.settle());
    ParameterSync &sync = rig.program->link().synchronisation();
    rig.program->link().channels().cycleCount[1] = 5.0f; // as the last frame reported
    rig.trace.lines.clear();
    rig.click("SpeedButton27");
    QVERIFY(sync.cycleResetPending[1]);
    QVERIFY(Rig::waitFor([&] { return !sync.cycleResetPending[1]; }, 2000));
    QVERIFY(rig.writes().contains(writeOf(CMD_CLRCYC1)));
    QVERIFY(Rig::waitFor([&] { return !rig.device().panelRefreshPending; }, 2000));
    typeAndEnter(rig.child<QLineEdit>("Edit4"), "7");
    QVERIFY(Rig::waitFor([&] { return rig.simParams().LED == 7; }, 2000));
    QVERIFY(rig.settle());
    QVERIFY2(rig.writes().count(writeOf(CMD_CLRCYC1)) <= 2, qPrintable(rig.writes().join(" / ")));
    QVERIFY(shows(rig.child<QLineEdit>("Edit4"), EditState::Confirmed));
}

void PanelsTest::defaultsAreReadBack()
{
    SimParams old;
    old.mode = 2;
    old.decp = 4;
    old.Beep = 0;
    old.LED = 8;
    old.OnTime = 250;
    old.PK1 = 45.5f;
    old.PK2 = 100.25f;
    old.UZP = {1.0f, 2.0f, 3.0f};
    old.Offset = {4.0f, 5.0f, 6.0f};
    old.COEF = {2.0f, 3.0f, 4.0f};
    old.Q_NR = 2;
    Rig rig(old);
    QVERIFY(rig.settle());
    QCOMPARE(rig.child<QLineEdit>("Edit4")->text(), QString("8"));
    QVERIFY(!rig.child<QCheckBox>("CheckBox15")->isChecked());
    QSignalSpy reloaded(&rig.program->link(), &DeviceLink::parametersReloaded);
    rig.trace.lines.clear();
    rig.click("BitBtn3");
    QCOMPARE(rig.writes(), QStringList{writeOf(CMD_DEFAULTS)});
    QVERIFY(Rig::waitFor([&] { return !reloaded.isEmpty(); }, 5000));
    QVERIFY(rig.settle());

    const DeviceParams &set = rig.device().Set;
    const DeviceParams &stan = rig.device().Stan;
    const SimParams factory;
    QCOMPARE(stan.LED, int32_t(factory.LED));
    QCOMPARE(stan.OnTime, factory.OnTime);
    QCOMPARE(stan.PK1, factory.PK1);
    QCOMPARE(stan.COEF[2], factory.COEF[2]);
    DeviceParams wanted = set;
    std::copy(std::begin(stan.Res), std::end(stan.Res), std::begin(wanted.Res));
    QCOMPARE(std::memcmp(&wanted, &stan, sizeof wanted), 0);
    const QStringList expectedText = {"Edit4=5", "Edit5=100", "Edit6=90", "Edit7=270", "Edit9=2"};
    for (const QString &expected : expectedText) {
        auto *edit = rig.child<QLineEdit>(expected.section('=', 0, 0));
        QCOMPARE(edit->objectName() + "=" + edit->text(), expected);
        QVERIFY2(shows(edit, EditState::Confirmed), qPrintable(expected));
    }
    QVERIFY(rig.child<QCheckBox>("CheckBox15")->isChecked());
    QCOMPARE(rig.child<QLabel>("Label6")->text(), QString("1"));
    QCOMPARE(rig.child<QLabel>("Label17")->text(), QString("1"));

    // The active sensor comes with the sensor reply, which must be read again too.
    QCOMPARE(stan.Q_NR, uint32_t(factory.Q_NR));
    QCOMPARE(rig.child<QComboBox>("ComboBox2")->currentIndex(), int(factory.Q_NR));

    // Long enough for the sensor poll of the idle synchronisation.
    Rig::idleFor(3000);
    const QStringList allowed = {QString::number(CMD_DEFAULTS), QString::number(CMD_RES0), QString::number(CMD_RES1),
                                 QString::number(CMD_RES2)};
    QStringList stray;
    for (const QString &write : rig.writes())
        if (!allowed.contains(write.section(':', 0, 0)))
            stray << write;
    QVERIFY2(stray.isEmpty(), qPrintable(stray.join(" / ")));
    const SimParams now = rig.simParams();
    QVERIFY(sameSettings(now, factory));
    QCOMPARE(now.Res, (std::array<float, 3>{set.Res[0], set.Res[1], set.Res[2]}));
}

QTEST_MAIN(PanelsTest)
#include "tst_panels.moc"

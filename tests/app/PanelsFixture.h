#pragma once

#include "ConfigText.h"
#include "DeviceLink.h"
#include "EditColour.h"
#include "EventLoop.h"
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
#include "SimInstrument.h"
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

// The program without an instrument (Screen) or against the simulated one (Rig), for the
// corrections and the settings panel.
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

    const DeviceState &device() { return program->link().device(); }

    /// The instrument found as a connection finds it: the port counts as open and the
    /// connection sequence reads every parameter from a simulated instrument's answers.
    void findInstrument()
    {
        DeviceLink &link = program->link();
        Tserial_event opened; // the notification carries only its code
        link.OnPortEvent(&opened, Tserial_event::PortOpened);
        QCoreApplication::processEvents();
        dialogs.shown.clear();
        SimInstrument instrument;
        ConnectionSequence sequence;
        sequence.begin();
        for (int tick = 0; tick < 200 && !link.connection().deviceFound; ++tick) {
            if (const auto request = link.connectionStep(sequence).request) {
                const ProtocolFrame frame = buildFrame(FRAME_READ, *request, kZeroData);
                const std::vector<uint8_t> reply = instrument.handleRequest(frame.data());
                link.HandleBurst(QByteArray(reinterpret_cast<const char *>(reply.data()), int(reply.size())), 0);
            }
        }
        QVERIFY(link.connection().deviceFound);
    }
    /// The instrument reports a value, as its reply to a read does: shown at the next refresh.
    void report(uint8_t cmd, int32_t value) { program->link().HandleBurst(replyFrame(cmd, packedData(value)), 0); }
    void report(uint8_t cmd, float value) { program->link().HandleBurst(replyFloat(cmd, value), 0); }
    /// One tick of the synchronisation: the panel shows the reported values and takes input again.
    void refreshed()
    {
        program->link().synchronise([this] { program->main().refreshPanel(); });
        QVERIFY(!device().panelRefreshPending);
    }
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
        if (!runUntil([&] { return program->link().connection().deviceFound; }, 15000))
            return false;
        return runUntil([&] { return !firstDifference(device().Set, device().Stan) && !device().panelRefreshPending; },
                        5000);
    }

    SimParams simParams()
    {
        return sim.withModel([](SimInstrument &m) { return m.params(); });
    }

    /// The write requests that left the port since the trace was last cleared, as "cmd: d0 d1 d2 d3".
    QStringList writes() const
    {
        QStringList out;
        const QString prefix = QStringLiteral(">sending write cmd: ");
        for (const QString &line : trace.lines)
            if (line.startsWith(prefix))
                out << line.mid(prefix.size()).section(" ,CRC", 0, 0);
        return out;
    }

    /// The writes that leave at once on a click, before any tick of the synchronisation
    /// could add its own: the tick is held until `count` have left (or a second has passed).
    QStringList writesAtOnce(int count)
    {
        auto *tick = program->main().findChild<QTimer *>("Timer2");
        tick->stop();
        runUntil([&] { return writes().size() >= count; }, 1000);
        tick->start();
        return writes();
    }

    static void idleFor(int ms)
    {
        runUntil([] { return false; }, ms);
    }
};

QString writeOf(uint8_t cmd, const FrameData &data = kZeroData)
{
    return QString("%1: %2 %3 %4 %5").arg(cmd).arg(data[0]).arg(data[1]).arg(data[2]).arg(data[3]);
}

inline QStringList commandsOf(const QStringList &writes)
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
inline float &correction(DeviceParams &params, const QString &member)
{
    const int sensor = member.right(1).toInt();
    const QString name = member.chopped(1);
    return name == "UZP" ? params.UZP[sensor] : name == "Offset" ? params.Offset[sensor] : params.COEF[sensor];
}

inline bool sameSettings(const SimParams &a, const SimParams &b)
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

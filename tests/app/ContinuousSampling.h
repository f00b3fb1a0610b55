#pragma once

#include "ConfigText.h"
#include "DeviceLink.h"
#include "EventLoop.h"
#include "Main.h"
#include "Program.h"
#include "PtyInstrument.h"
#include "RecordingDialogs.h"
#include "ScopedWorkDir.h"

#include <QCheckBox>

#include <memory>

/// Shows the program, which connects by itself to the port of its config.ini, then starts
/// continuous sampling of all three sensors. False when it did not connect within 15 s.
inline bool startContinuousSampling(Program &program)
{
    TForm1 &form = program.main();
    form.show();
    if (!runUntil([&] { return program.link().connection().deviceFound; }, 15000))
        return false;
    for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3"})
        form.findChild<QCheckBox *>(box)->setChecked(true);
    form.findChild<QCheckBox *>("CheckBox18")->setChecked(true);
    form.SpeedButton10Click();
    return true;
}

/// The program in a fresh working folder whose config.ini names a simulated instrument on a
/// line paced at 57600 bit/s, every sample registered.
struct SimulatedRun {
    ScopedWorkDir dir;
    PtyInstrument sim;
    RecordingDialogs dialogs;
    std::unique_ptr<Program> program;

    SimulatedRun()
    {
        sim.setFaults({.lineTiming = true});
        dir.write("config.ini", configText(QString::fromStdString(sim.portName())));
        program = std::make_unique<Program>(dialogs);
    }
};

#pragma once

#include "DeviceLink.h"
#include "EventLoop.h"
#include "Main.h"
#include "Program.h"

#include <QCheckBox>

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

// Sampling achieved by the program against the simulated instrument on a line paced at
// 57600 bit/s, with the readout visible: the continuous rate against the line's own limit,
// the request period in timed mode, the program's CPU while sampling and while stopped, and
// the wizard's connection time.
#include "AsystenLaczenia.h"
#include "ConfigText.h"
#include "DeviceLink.h"
#include "EventLoop.h"
#include "Main.h"
#include "Program.h"
#include "ProgramCpu.h"
#include "ProtocolFrame.h"
#include "PtyInstrument.h"
#include "RecordingDialogs.h"
#include "ScopedWorkDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSet>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

struct Period {
    int samples = 0;
    double meanMs = 0, spreadMs = 0, minMs = 0, maxMs = 0, perSecond = 0, cpuPercent = 0;
};

Period measure(TForm1 &form, PtyInstrument &sim, const ProgramCpu &cpu, bool continuous, int periodMs, int seconds)
{
    form.findChild<QCheckBox *>("CheckBox18")->setChecked(continuous);
    form.findChild<QSpinBox *>("CSpinEdit2")->setValue(periodMs);
    runFor(300);
    sim.startRequestLog();
    const double cpuBefore = cpu.seconds();
    form.SpeedButton10Click();
    runFor(seconds * 1000);
    form.SpeedButton11Click();
    const double cpuUsed = cpu.seconds() - cpuBefore;
    std::vector<double> at;
    for (const auto &request : sim.requestLog())
        if (request.cmd == kx::CMD_MEASURE)
            at.push_back(std::chrono::duration<double, std::milli>(request.at.time_since_epoch()).count());
    Period p;
    p.samples = int(at.size());
    p.cpuPercent = 100.0 * cpuUsed / seconds;
    if (at.size() < 3)
        return p;
    std::vector<double> gaps;
    for (size_t i = 1; i < at.size(); ++i)
        gaps.push_back(at[i] - at[i - 1]);
    double sum = 0, squares = 0;
    for (double g : gaps)
        sum += g;
    p.meanMs = sum / gaps.size();
    for (double g : gaps)
        squares += (g - p.meanMs) * (g - p.meanMs);
    p.spreadMs = std::sqrt(squares / gaps.size());
    p.minMs = *std::min_element(gaps.begin(), gaps.end());
    p.maxMs = *std::max_element(gaps.begin(), gaps.end());
    p.perSecond = 1000.0 / p.meanMs;
    return p;
}

void print(const char *what, const Period &p)
{
    std::printf("%-24s %5d requests, period mean %7.2f ms, sd %6.2f, min %7.2f, max %7.2f -> %6.1f/s, CPU %5.1f %%\n",
                what, p.samples, p.meanMs, p.spreadMs, p.minMs, p.maxMs, p.perSecond, p.cpuPercent);
}

/// The line's own limit: one 8-byte request and one measurement frame, 10 bit times a byte.
double lineLimitPerSecond(int sensors)
{
    const uint8_t status = uint8_t((1 << sensors) - 1);
    const int bytes = kx::kFrameSize + kx::measurementFrameLength(status);
    return 57600.0 / 10 / bytes;
}

void printContinuous(const char *what, const Period &p, int sensors)
{
    print(what, p);
    const double limit = lineLimitPerSecond(sensors);
    std::printf("%-24s line limit %.1f/s, reached %.2f of it\n", "", limit, p.perSecond / limit);
}

/// From "Połącz" to the instrument found; -1 when it does not connect within 10 s.
double connectionMs(Program &program)
{
    TAsystentForm &wizard = program.wizard();
    wizard.BitBtn4Click();
    runFor(300);
    QElapsedTimer timer;
    timer.start();
    wizard.BitBtn3Click();
    while (!program.link().connection().deviceFound && timer.elapsed() < 10000)
        runFor(1);
    return program.link().connection().deviceFound ? double(timer.nsecsElapsed()) / 1e6 : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    ScopedWorkDir workDir;
    const QSet<QString> before = threadIds();
    PtyInstrument sim;
    const ProgramCpu cpu(threadIds() - before);
    sim.setFaults({.lineTiming = true});
    workDir.write("config.ini", configText(QString::fromStdString(sim.portName())));

    RecordingDialogs dialogs;
    Program program(dialogs);
    TForm1 &form = program.main();
    form.show();
    for (int i = 0; i < 300 && !program.link().connection().deviceFound; ++i)
        runFor(50);
    if (!program.link().connection().deviceFound) {
        std::printf("the program did not connect: port %s, step %d\n",
                    qPrintable(program.link().connection().portName()), program.wizard().wizardStep());
        return 1;
    }

    double connectSum = 0;
    constexpr int kConnections = 5;
    for (int i = 0; i < kConnections; ++i)
        connectSum += connectionMs(program);
    std::printf("wizard connection, from \"Połącz\" to the instrument found: %.0f ms (mean of %d)\n",
                connectSum / kConnections, kConnections);
    runFor(500);

    printContinuous("continuous, 3 sensors", measure(form, sim, cpu, true, 100, seconds), 3);
    print("timed 100 ms", measure(form, sim, cpu, false, 100, seconds));
    print("timed 20 ms", measure(form, sim, cpu, false, 20, seconds));
    print("timed 10 ms", measure(form, sim, cpu, false, 10, seconds));

    runFor(1000);
    const double idleBefore = cpu.seconds();
    runFor(seconds * 1000);
    std::printf("stopped, port open: CPU %.2f %%\n", 100.0 * (cpu.seconds() - idleBefore) / seconds);

    sim.setSensorPresent(1, false);
    sim.setSensorPresent(2, false);
    printContinuous("continuous, 1 sensor", measure(form, sim, cpu, true, 100, seconds), 1);
    return 0;
}

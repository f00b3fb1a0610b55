// Sampling achieved by the program against the simulated instrument on a line paced at
// 57600 bit/s: continuous rate, and the request period in timed mode.
#include "AsystenLaczenia.h"
#include "DeviceLink.h"
#include "Main.h"
#include "Program.h"
#include "PtyInstrument.h"
#include "ConfigText.h"
#include "RecordingDialogs.h"
#include "ScopedWorkDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QSpinBox>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Period {
    int samples = 0;
    double meanMs = 0, spreadMs = 0, minMs = 0, maxMs = 0, perSecond = 0;
};

Period measure(TForm1 &form, PtyInstrument &sim, bool continuous, int periodMs, int seconds)
{
    form.findChild<QCheckBox *>("CheckBox18")->setChecked(continuous);
    form.findChild<QSpinBox *>("CSpinEdit2")->setValue(periodMs);
    runFor(300);
    sim.startRequestLog();
    form.SpeedButton10Click();
    runFor(seconds * 1000);
    form.SpeedButton11Click();
    std::vector<double> at;
    for (const auto &request : sim.requestLog())
        if (request.cmd == 7)
            at.push_back(std::chrono::duration<double, std::milli>(request.at.time_since_epoch()).count());
    Period p;
    p.samples = int(at.size());
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
    std::printf(
        "%-28s %5d requests, period mean %7.2f ms, spread (sd) %6.2f ms, min %7.2f, max %7.2f  -> %6.2f per second\n",
        what, p.samples, p.meanMs, p.spreadMs, p.minMs, p.maxMs, p.perSecond);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    ScopedWorkDir workDir;
    PtyInstrument sim;
    sim.setFaults({.lineTiming = true});
    workDir.write("config.ini", configText(QString::fromStdString(sim.portName())));

    RecordingDialogs dialogs;
    Program program(dialogs);
    TForm1 &form = program.main();
    form.show();
    for (int i = 0; i < 300 && !program.link().connection().deviceFound; ++i)
        runFor(50);
    if (!program.link().connection().deviceFound) {
        std::printf("the program did not connect: port %s, step %d\n", qPrintable(program.link().connection().portName()),
                    program.wizard().wizardStep());
        return 1;
    }
    const double byteMs = 10.0 / 57600 * 1000;
    std::printf("line: one request (8 bytes) and one frame of three values (15 bytes) take %.2f ms: at most %.0f "
                "samples per second\n",
                23 * byteMs, 1000.0 / (23 * byteMs));
    print("continuous", measure(form, sim, true, 100, seconds));
    print("timed 100 ms", measure(form, sim, false, 100, seconds));
    print("timed 10 ms", measure(form, sim, false, 10, seconds));
    return 0;
}

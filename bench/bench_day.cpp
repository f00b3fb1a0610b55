// A day's run: the journal of a day (17 M samples, each charted and registered) recovered at
// start, then continuous sampling against the simulated instrument paced at 57600 bit/s with
// (a) the chart shown and recording at full view, (b) paging on, following the last page,
// (c) the register shown following its newest row, (d) a ".txt" save of every row running,
// (e) the record button clearing the chart, the register's rows going on in a new journal, and
// (f) the day's run, kept aside by it, reopened from the menu while sampling goes on.
// For each: samples per second against the line's limit, frame time p50/p99 (the drawing's
// share of the user-interface thread, per frame), posted-event latency p99 and CPU.
// Arguments: seconds per case (default 30), samples of the day (default 17000000).
#include "ChartPage.h"
#include "ConfigText.h"
#include "DayOfSamples.h"
#include "DeviceLink.h"
#include "EventLoop.h"
#include "JournalRecovery.h"
#include "KeptRunOpening.h"
#include "Main.h"
#include "MeasurementSession.h"
#include "Program.h"
#include "ProgramCpu.h"
#include "ProtocolFrame.h"
#include "PtyInstrument.h"
#include "RecordingDialogs.h"
#include "RegisterPage.h"
#include "ScopedWorkDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

/// Times the user-interface thread's drawing. A frame starts when one of the frame timers fires
/// (the chart's redraw, the register's follow) and takes in every top-level event until the next
/// one that draws: the timer itself, the queued replot, the paint of a watched widget.
class TimedApp : public QApplication {
public:
    using QApplication::QApplication;

    std::vector<QObject *> frameTimers;
    std::vector<QObject *> drawing;
    std::vector<double> frames;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (depth_ > 0) {
            note(receiver, event);
            ++depth_;
            const bool handled = QApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        draws_ = false;
        startsFrame_ = false;
        note(receiver, event);
        const auto start = Clock::now();
        ++depth_;
        const bool handled = QApplication::notify(receiver, event);
        --depth_;
        const double ms = msSince(start);
        if (startsFrame_) {
            if (current_ >= 0)
                frames.push_back(current_);
            current_ = ms;
        } else if (draws_ && current_ >= 0) {
            current_ += ms;
        }
        return handled;
    }

    void restart()
    {
        frames.clear();
        current_ = -1;
    }

private:
    void note(QObject *receiver, QEvent *event)
    {
        const auto in = [receiver](const std::vector<QObject *> &objects) {
            return std::find(objects.begin(), objects.end(), receiver) != objects.end();
        };
        if (event->type() == QEvent::Timer && in(frameTimers))
            startsFrame_ = true;
        if (in(drawing) || in(frameTimers))
            draws_ = true;
    }

    int depth_ = 0;
    bool draws_ = false;
    bool startsFrame_ = false;
    double current_ = -1;
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

/// The line's own limit with three sensors: one 8-byte request and one measurement frame.
double lineLimitPerSecond()
{
    return 57600.0 / 10 / (kx::kFrameSize + kx::measurementFrameLength(0x07));
}

struct Figures {
    double samplesPerSecond = 0;
    double framesP50 = 0, framesP99 = 0;
    std::size_t frames = 0;
    double latencyP99 = 0;
    double cpuPercent = 0;
};

/// Samples for `seconds` with whatever the case set up, while `during` (if any) runs.
Figures measure(TimedApp &app, Program &program, const ProgramCpu &cpu, int seconds)
{
    qint64 decoded = 0;
    QObject context;
    QObject::connect(&program.link(), &DeviceLink::sampleDecoded, &context, [&decoded] { ++decoded; });
    std::vector<double> latencies;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, &context, [&] {
        const auto posted = Clock::now();
        QMetaObject::invokeMethod(
            &context, [&latencies, posted] { latencies.push_back(msSince(posted)); }, Qt::QueuedConnection);
    });
    runFor(500);
    app.restart();
    probe.start();
    const double cpuBefore = cpu.seconds();
    const qint64 decodedBefore = decoded;
    QElapsedTimer wall;
    wall.start();
    runFor(seconds * 1000);
    Figures f;
    f.samplesPerSecond = double(decoded - decodedBefore) / (wall.elapsed() / 1000.0);
    f.cpuPercent = 100.0 * (cpu.seconds() - cpuBefore) / (wall.elapsed() / 1000.0);
    f.frames = app.frames.size();
    f.framesP50 = percentile(app.frames, 0.5);
    f.framesP99 = percentile(app.frames, 0.99);
    f.latencyP99 = percentile(latencies, 0.99);
    probe.stop();
    return f;
}

void print(const char *what, const Figures &f)
{
    std::printf("%-44s %6.1f samples/s = %.2f of the line's limit | %5zu frames, p50 %6.2f ms, p99 %6.2f ms | "
                "posted events p99 %6.2f ms | CPU %5.1f %%\n",
                what, f.samplesPerSecond, f.samplesPerSecond / lineLimitPerSecond(), f.frames, f.framesP50, f.framesP99,
                f.latencyP99, f.cpuPercent);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApp app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const qint64 samples = argc > 2 ? QByteArray(argv[2]).toLongLong() : 17'000'000;

    ScopedWorkDir dir;
    const QSet<QString> before = threadIds();
    PtyInstrument sim;
    const ProgramCpu cpu(threadIds() - before);
    sim.setFaults({.lineTiming = true});
    dir.write("config.ini", configText(QString::fromStdString(sim.portName())));
    QElapsedTimer clock;
    clock.start();
    writeDayJournal(journalPath(dir.path()), samples);
    std::printf("a day's journal: %lld samples, written in %.1f s\n", samples, clock.elapsed() / 1000.0);

    RecordingDialogs dialogs;
    dialogs.answers = {true};
    clock.restart();
    Program program(dialogs);
    std::printf("recovery: the journal read once behind its progress window, asked and taken back in %.2f s (%lld "
                "points per series, %lld rows)\n",
                clock.elapsed() / 1000.0, qint64(program.session().chart().series(0).size()),
                program.session().rows().size());

    TForm1 &form = program.main();
    form.resize(1024, 768);
    form.show();
    auto *tabs = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    ChartPage &chart = program.chart();
    RegisterPage &rows = program.registerPage();
    auto *plot = chart.findChild<QCustomPlot *>(QStringLiteral("Chart1"));
    auto *table = rows.findChild<QTableView *>(QStringLiteral("StringGrid1"));
    app.frameTimers = {chart.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly),
                       rows.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly)};
    app.drawing = {plot, table->viewport()};

    runUntil([&] { return program.link().connection().deviceFound; }, 15000);
    runFor(500);
    clock.restart();
    tabs->setCurrentWidget(chart.parentWidget()->isWindow() ? &chart : chart.parentWidget());
    plot->replot(QCustomPlot::rpImmediateRefresh);
    QApplication::processEvents();
    std::printf("first chart frame after the recovery: %.1f ms\n", clock.nsecsElapsed() / 1e6);

    for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3"})
        form.findChild<QCheckBox *>(box)->setChecked(true);
    form.findChild<QCheckBox *>("CheckBox18")->setChecked(true);
    form.SpeedButton10Click();
    chart.SpeedButton16Click(); // recording goes on after the recovered points, not cleared
    rows.findChild<QCheckBox *>(QStringLiteral("CheckBox16"))->setChecked(true); // "autoodczyt"

    print("(a) chart shown, recording, full view", measure(app, program, cpu, seconds));

    chart.findChild<QCheckBox *>(QStringLiteral("CheckBox19"))->setChecked(true);
    chart.findChild<QCheckBox *>(QStringLiteral("CheckBox17"))->setChecked(true);
    chart.SpeedButton13Click();
    print("(b) paging on, following the last page", measure(app, program, cpu, seconds));
    chart.findChild<QCheckBox *>(QStringLiteral("CheckBox17"))->setChecked(false);

    tabs->setCurrentWidget(rows.parentWidget()->isWindow() ? &rows : rows.parentWidget());
    print("(c) register shown, following its newest row", measure(app, program, cpu, seconds));

    const QString path = dir.path() + QStringLiteral("/pomiary.txt");
    dialogs.files = {ChosenFile{path, 0}};
    double savedAfter = -1;
    QTimer saveWatch;
    saveWatch.setInterval(20);
    QObject::connect(&saveWatch, &QTimer::timeout, &saveWatch, [&] {
        if (!rows.saving() && savedAfter < 0)
            savedAfter = clock.elapsed() / 1000.0;
    });
    clock.restart();
    const qint64 savedRows = program.session().rows().size();
    rows.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    saveWatch.start();
    print("(d) register shown, a \".txt\" save of every row", measure(app, program, cpu, seconds));
    runUntil([&] { return savedAfter >= 0; }, 600000);
    std::printf("the save of %lld rows took %.1f s; index column %d px wide at %lld rows (60 px up to 1000000 rows)\n",
                savedRows, savedAfter, table->columnWidth(0), program.session().rows().size());

    tabs->setCurrentWidget(chart.parentWidget()->isWindow() ? &chart : chart.parentWidget());
    clock.restart();
    chart.SpeedButton15Click();
    std::printf("the record button, the day's run kept aside and a new journal begun with its rows: %.1f ms\n",
                clock.nsecsElapsed() / 1e6);
    print("(e) chart shown, the register's rows copied into the new journal", measure(app, program, cpu, seconds));
    KeptRunOpening &opening = program.keptRuns();
    double listedAfter = -1, reopenedAfter = -1;
    QElapsedTimer reopening;
    QObject::connect(&opening, &KeptRunOpening::runOpened, &opening,
                     [&] { reopenedAfter = reopening.elapsed() / 1000.0; });
    QTimer listWatch;
    listWatch.setInterval(20);
    QObject::connect(&listWatch, &QTimer::timeout, &listWatch, [&] {
        if (listedAfter >= 0 || !opening.listWindow())
            return;
        listedAfter = reopening.elapsed() / 1000.0;
        QTreeWidget *list = opening.listWindow()->list();
        list->setCurrentItem(list->topLevelItem(0));
        reopening.restart();
        opening.listWindow()->openButton()->click();
    });
    reopening.start();
    listWatch.start();
    form.otworzPrzebieg1Click();
    print("(f) chart shown, a kept day's run reopened", measure(app, program, cpu, seconds));
    runUntil([&] { return reopenedAfter >= 0; }, 600000);
    std::printf("kept runs listed in %.1f s; the day's run rebuilt and taken up in %.1f s (%lld points per series, "
                "%lld rows)\n",
                listedAfter, reopenedAfter, qint64(program.session().chart().series(0).size()),
                program.session().rows().size());
    form.SpeedButton11Click();
    return 0;
}

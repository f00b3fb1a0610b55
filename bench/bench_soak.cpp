// Continuous sampling for a long time against the simulated instrument on a line paced at
// 57600 bit/s, with the chart recording and every sample registered: what the instrument
// sent against what was decoded, charted and registered, the resident memory each sample
// costs against the chart's and the register's budgets, the CPU each sample costs, and how
// long a posted event waits on the user-interface thread. Optionally with the traffic
// monitor open. Usage: bench_soak [seconds=600] [--monitor] [--drop-every=N (default 500)]
#include "ChartData.h"
#include "ChartPage.h"
#include "Com_debugger.h"
#include "ConfigText.h"
#include "DeviceLink.h"
#include "EventLoop.h"
#include "Main.h"
#include "MeasurementSession.h"
#include "Program.h"
#include "ProgramCpu.h"
#include "ProtocolFrame.h"
#include "PtyInstrument.h"
#include "RecordingDialogs.h"
#include "RegisterPage.h"
#include "RegisterStore.h"
#include "RegisterTableModel.h"
#include "ScopedWorkDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <bit>
#include <cstdio>
#include <unistd.h>

namespace {

long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLong() * sysconf(_SC_PAGESIZE);
}

/// Posts a probe event every 100 ms and measures how long it waits in the user-interface
/// thread's queue before delivery; a queue that grows shows as a wait that grows.
class QueueProbe : public QObject {
public:
    QueueProbe()
    {
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, &QueueProbe::post);
        timer_.start(100);
    }

    struct Waits {
        int probes = 0;
        double meanMs = 0, maxMs = 0;
    };
    /// The waits since the last call.
    Waits take()
    {
        Waits w{count_, count_ ? sumMs_ / count_ : 0, maxMs_};
        count_ = 0;
        sumMs_ = maxMs_ = 0;
        return w;
    }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != kProbe)
            return QObject::event(e);
        const double waitedMs = double(clock_.nsecsElapsed() - static_cast<Probe *>(e)->postedAt) / 1e6;
        ++count_;
        sumMs_ += waitedMs;
        maxMs_ = std::max(maxMs_, waitedMs);
        return true;
    }

private:
    static constexpr QEvent::Type kProbe = QEvent::Type(QEvent::User + 17);
    struct Probe : QEvent {
        explicit Probe(qint64 at) : QEvent(kProbe), postedAt(at) {}
        qint64 postedAt;
    };

    void post() { QCoreApplication::postEvent(this, new Probe(clock_.nsecsElapsed())); }

    QElapsedTimer clock_;
    QTimer timer_;
    int count_ = 0;
    double sumMs_ = 0, maxMs_ = 0;
};

/// What the instrument did with the measurement requests, replaying its reply count: every
/// dropEvery-th reply (every request here gets one) was swallowed.
struct InstrumentCounts {
    qint64 measureRequests = 0, measureSent = 0, measureDropped = 0, otherRequests = 0;
    size_t logged = 0;
};

InstrumentCounts instrumentCounts(PtyInstrument &sim, int dropEvery)
{
    InstrumentCounts c;
    const auto log = sim.requestLog();
    c.logged = log.size();
    for (size_t i = 0; i < log.size(); ++i) {
        const bool dropped = dropEvery > 0 && (i + 1) % size_t(dropEvery) == 0;
        if (log[i].cmd != kx::CMD_MEASURE) {
            ++c.otherRequests;
            continue;
        }
        ++c.measureRequests;
        ++(dropped ? c.measureDropped : c.measureSent);
    }
    return c;
}

struct Options {
    int seconds = 600;
    bool monitor = false;
    int dropEvery = 500;
};

Options parse(const QStringList &args)
{
    Options o;
    for (const QString &a : args.mid(1)) {
        if (a == QLatin1String("--monitor"))
            o.monitor = true;
        else if (a.startsWith(QLatin1String("--drop-every=")))
            o.dropEvery = a.mid(13).toInt();
        else
            o.seconds = a.toInt();
    }
    return o;
}

class Soak {
public:
    Soak(Program &program, PtyInstrument &sim, QSet<QString> instrumentThreads, const Options &options)
        : program_(program), sim_(sim), instrumentThreads_(std::move(instrumentThreads)), options_(options)
    {
        QObject::connect(&program.link(), &DeviceLink::sampleDecoded, &probe_, [this] { ++decoded_; });
    }

    void run()
    {
        sim_.setFaults({.dropEvery = options_.dropEvery, .lineTiming = true});
        sim_.startRequestLog();
        startRss_ = lastRss_ = residentBytes();
        startCpu_ = ProgramCpu(instrumentThreads_).seconds();
        wall_.start();
        program_.main().SpeedButton10Click();
        constexpr int kReportMs = 30000;
        for (int elapsed = 0; elapsed < options_.seconds * 1000; elapsed += kReportMs) {
            runFor(std::min(kReportMs, options_.seconds * 1000 - elapsed));
            report("at");
        }
        program_.main().SpeedButton11Click();
        runFor(500);
        report("end");
    }

private:
    void report(const char *when)
    {
        const double seconds = double(wall_.elapsed()) / 1000;
        const InstrumentCounts sent = instrumentCounts(sim_, options_.dropEvery);
        const ChartData &chart = program_.session().chart();
        qint64 points = 0;
        QString perSeries;
        for (int i = 0; i < ChartData::SeriesCount; ++i) {
            points += qint64(chart.series(i).size());
            perSeries += QStringLiteral(" %1").arg(chart.series(i).size());
        }
        const qint64 rows = program_.session().rows().size();
        const long rss = residentBytes();
        const long grown = rss - startRss_;
        const qint64 newSamples = decoded_ - lastDecoded_;
        // A handful of samples, as in the last report, would say nothing.
        const double recentPerSample = newSamples >= 1000 ? double(rss - lastRss_) / double(newSamples) : 0;
        lastRss_ = rss;
        lastDecoded_ = decoded_;
        // The request log is the bench's own: a vector of 16-byte entries grown by doubling.
        const long logBytes =
            long(std::bit_ceil(std::max<size_t>(sent.logged, 1)) * sizeof(PtyInstrument::LoggedRequest));
        const double budget = 12.0 * double(points) + 48.0 * double(rows);
        const double cpu = ProgramCpu(instrumentThreads_).seconds() - startCpu_;
        const QueueProbe::Waits waits = probe_.take();
        const double perSample = decoded_ ? 1.0 / double(decoded_) : 0;
        std::printf("[%s %6.0f s] sent by instrument %lld (requests %lld, dropped %lld, other requests %lld) | "
                    "decoded %lld | lost %lld | chart points%s (sum %lld) | register rows %lld\n",
                    when, seconds, sent.measureSent, sent.measureRequests, sent.measureDropped, sent.otherRequests,
                    decoded_, sent.measureRequests - decoded_, qPrintable(perSeries), points, rows);
        std::printf(
            "            %.1f samples/s | RSS +%.1f MB (bench request log <= %.1f MB), %.1f B/sample "
            "without the log (last interval %.1f), budget %.1f B/sample -> %.2f of it | CPU %.1f %%, %.0f us/sample | "
            "posted-event wait mean %.2f ms, max %.2f ms (%d probes)\n",
            double(decoded_) / seconds, double(grown) / 1e6, double(logBytes) / 1e6,
            double(grown - logBytes) * perSample, recentPerSample, budget * perSample,
            budget > 0 ? double(grown - logBytes) / budget : 0, 100.0 * cpu / seconds, 1e6 * cpu * perSample,
            waits.meanMs, waits.maxMs, waits.probes);
        std::fflush(stdout);
    }

    Program &program_;
    PtyInstrument &sim_;
    QSet<QString> instrumentThreads_;
    Options options_;
    QueueProbe probe_;
    QElapsedTimer wall_;
    qint64 decoded_ = 0;
    long startRss_ = 0, lastRss_ = 0;
    qint64 lastDecoded_ = 0;
    double startCpu_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Options options = parse(app.arguments());
    ScopedWorkDir workDir;
    const QSet<QString> before = threadIds();
    PtyInstrument sim;
    const QSet<QString> instrumentThreads = threadIds() - before;
    sim.setFaults({.lineTiming = true});
    workDir.write("config.ini", configText(QString::fromStdString(sim.portName())));

    RecordingDialogs dialogs;
    Program program(dialogs);
    TForm1 &form = program.main();
    form.show();
    for (int i = 0; i < 300 && !program.link().connection().deviceFound; ++i)
        runFor(50);
    if (!program.link().connection().deviceFound) {
        std::printf("the program did not connect: port %s\n", qPrintable(program.link().connection().portName()));
        return 1;
    }
    if (options.monitor)
        program.monitor().show();
    // The sensors' "Aktywny" boxes, as the user sets them once the sensors are shown present.
    for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3"})
        form.findChild<QCheckBox *>(box)->setChecked(true);
    form.findChild<QCheckBox *>("CheckBox18")->setChecked(true);
    program.chart().SpeedButton15Click();
    const bool registering = program.registerPage().findChild<QCheckBox *>("CheckBox16")->isChecked();
    std::printf("soak %d s, continuous, chart recording, autoodczyt %s, traffic monitor %s, instrument drops every "
                "%d-th reply\n",
                options.seconds, registering ? "on" : "off", options.monitor ? "open" : "closed", options.dropEvery);
    runFor(500);
    Soak(program, sim, instrumentThreads, options).run();
    return 0;
}

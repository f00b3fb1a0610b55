// The run's journal: bytes per sample, CPU cost of journaling at the full continuous rate, and
// the time and memory to rebuild a day of it. Argument: samples of the day (default 17M).
// Every sample is both charted and registered, the journal's heaviest use.
#include "ChartData.h"
#include "DayOfSamples.h"
#include "JournalRecovery.h"
#include "RegisterStore.h"
#include "RunJournal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>

#include <cstdio>

namespace {

qint64 residentBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// 200 samples a second for ten seconds, each charted and registered, appended in the paced way
// the sampling delivers them.
void appendCost(const QString &path)
{
    constexpr int Rate = 200, Seconds = 10;
    RunJournal journal(path);
    const double threadBefore = cpuSeconds(RUSAGE_THREAD), processBefore = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Rate * Seconds; ++i) {
        journal.chartPoint(dayPoint(i));
        journal.registerRow(dayRow(i));
        const qint64 due = qint64(i + 1) * 1000 / Rate;
        if (due > clock.elapsed())
            QThread::msleep(unsigned(due - clock.elapsed()));
    }
    const double thread = cpuSeconds(RUSAGE_THREAD) - threadBefore;
    const double process = cpuSeconds(RUSAGE_SELF) - processBefore;
    std::printf("journaling %d samples/s for %d s (%.1f s wall): appending thread %.3f s CPU, whole process "
                "(appends, pacing sleeps, writer thread with fdatasync) %.3f s CPU = %.2f %% of one core\n",
                Rate, Seconds, clock.elapsed() / 1000.0, thread, process, 100.0 * process / (clock.elapsed() / 1000.0));
    QThread::msleep(600);
    std::printf("journal after the run: %lld bytes for %d samples\n", QFile(path).size(), Rate * Seconds);
}

void recovery(const QString &path, qint64 samples)
{
    // Written straight through the file sink in batches, as the writer's thread does, so that the
    // day's queue does not sit in this process while the recovery is measured.
    writeDayJournal(path, samples);
    std::printf("day of %lld samples: %.1f MB on disk\n", samples, QFile(path).size() / 1e6);
    const qint64 rssBefore = residentBytes("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    ChartData chart;
    RegisterStore rows;
    const JournalScan scan = replayJournal(path, chart, rows);
    std::printf("recovery of %llu chart points and %llu register rows: %.2f s (%.0f samples/s), resident memory "
                "+%.1f MB for the rebuilt chart and register (resident in all %.1f MB)\n",
                scan.summary.chartPoints, scan.summary.registerRows, clock.elapsed() / 1000.0,
                double(scan.summary.chartPoints) / (clock.elapsed() / 1000.0),
                (residentBytes("VmRSS:") - rssBefore) / 1e6, residentBytes("VmRSS:") / 1e6);
    if (chart.series(0).size() != std::size_t(samples) || rows.size() != samples)
        qFatal("the recovery lost samples");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 samples = argc > 1 ? QByteArray(argv[1]).toLongLong() : 17'000'000;
    QTemporaryDir dir;
    std::printf("journal: %zu bytes per sample charted or registered, %zu when both (header %zu bytes once per "
                "run); both at 200 samples/s = %.1f kB/s, %.0f MB per 24 h\n",
                JournalFormat::RecordSize, 2 * JournalFormat::RecordSize, JournalFormat::HeaderSize,
                400 * JournalFormat::RecordSize / 1e3, 400.0 * 86400 * JournalFormat::RecordSize / 1e6);
    appendCost(dir.filePath(QStringLiteral("rate.kxj")));
    recovery(dir.filePath(QStringLiteral("day.kxj")), samples);
    return 0;
}

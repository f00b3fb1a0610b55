// The run's journal: bytes per sample, CPU cost of journaling at the full continuous rate, and
// the time and memory to read back a day of it. Argument: samples of the day (default 17M).
#include "JournalReader.h"
#include "JournalWriter.h"

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

JournalRecord sampleAt(qint64 i)
{
    Sample s;
    s.time = 0.005 * double(i);
    s.value = {float(i % 360), 12.5f, 300.25f};
    s.present = {true, true, i % 2 == 0};
    s.cycles = {float(i / 100), 0, 7};
    s.pk1 = i % 3 == 0;
    return i % 10 == 0 ? JournalRecord::registered(s, 0x00FF, 1'796'000'000'000 + i * 5, true)
                       : JournalRecord::charted(s);
}

std::unique_ptr<JournalWriter> openWriter(const QString &path)
{
    QString error;
    auto sink = openJournalFile(path, &error);
    if (!sink)
        qFatal("cannot open %s: %s", qPrintable(path), qPrintable(error));
    return std::make_unique<JournalWriter>(std::move(sink), 1'796'000'000'000, nullptr);
}

// 200 samples a second for ten seconds, appended in the paced way the sampling delivers them.
void appendCost(const QString &path)
{
    constexpr int Rate = 200, Seconds = 10;
    auto writer = openWriter(path);
    const double threadBefore = cpuSeconds(RUSAGE_THREAD), processBefore = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Rate * Seconds; ++i) {
        writer->append(sampleAt(i));
        const qint64 due = qint64(i + 1) * 1000 / Rate;
        if (due > clock.elapsed())
            QThread::msleep(unsigned(due - clock.elapsed()));
    }
    writer->abandon();
    const double thread = cpuSeconds(RUSAGE_THREAD) - threadBefore;
    const double process = cpuSeconds(RUSAGE_SELF) - processBefore;
    std::printf("journaling %d samples/s for %d s (%.1f s wall): appending thread %.3f s CPU, whole process "
                "(appends, pacing sleeps, writer thread with fdatasync) %.3f s CPU = %.2f %% of one core\n",
                Rate, Seconds, clock.elapsed() / 1000.0, thread, process, 100.0 * process / (clock.elapsed() / 1000.0));
    std::printf("journal after the run: %lld bytes for %d samples\n", QFile(path).size(), Rate * Seconds);
}

void recovery(const QString &path, qint64 samples)
{
    {
        // Written straight through the file sink in batches, as the writer's thread does, so
        // that the day's queue does not sit in this process while the reader is measured.
        QString error;
        auto sink = openJournalFile(path, &error);
        if (!sink)
            qFatal("cannot open %s: %s", qPrintable(path), qPrintable(error));
        const auto header = JournalFormat::encodeHeader(1'796'000'000'000);
        sink->write(header.data(), header.size());
        std::vector<unsigned char> batch;
        for (qint64 i = 0; i < samples; ++i) {
            const auto bytes = JournalFormat::encode(sampleAt(i));
            batch.insert(batch.end(), bytes.begin(), bytes.end());
            if (batch.size() >= (1 << 20) || i + 1 == samples) {
                sink->write(batch.data(), batch.size());
                batch.clear();
            }
        }
        std::printf("day of %lld samples: %.1f MB on disk\n", samples, QFile(path).size() / 1e6);
    }
    const qint64 rssBefore = residentBytes("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    double checksum = 0;
    const JournalScan scan = readJournal(path, [&](const JournalRecord &r) { checksum += r.sample.value[0]; });
    std::printf("recovery read of %llu samples: %.2f s (%.0f samples/s), resident memory of the reader +%.1f MB "
                "(resident in all %.1f MB), checksum %.0f\n",
                scan.summary.samples, clock.elapsed() / 1000.0,
                double(scan.summary.samples) / (clock.elapsed() / 1000.0), (residentBytes("VmRSS:") - rssBefore) / 1e6,
                residentBytes("VmRSS:") / 1e6, checksum);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 samples = argc > 1 ? QByteArray(argv[1]).toLongLong() : 17'000'000;
    QTemporaryDir dir;
    std::printf("journal record: %zu bytes per sample (header %zu bytes once per run); "
                "200 samples/s = %.1f kB/s, %.0f MB per 24 h\n",
                JournalFormat::RecordSize, JournalFormat::HeaderSize, 200 * JournalFormat::RecordSize / 1e3,
                200.0 * 86400 * JournalFormat::RecordSize / 1e6);
    appendCost(dir.filePath(QStringLiteral("rate.kxj")));
    recovery(dir.filePath(QStringLiteral("day.kxj")), samples);
    return 0;
}

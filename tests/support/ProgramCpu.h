#pragma once

#include <QDir>
#include <QFile>
#include <QSet>
#include <sys/resource.h>
#include <unistd.h>

/// The threads of this process.
inline QSet<QString> threadIds()
{
    const QStringList ids = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return QSet<QString>(ids.begin(), ids.end());
}

/// CPU seconds of one thread of this process, from the kernel's accounting.
inline double threadCpuSeconds(const QString &tid)
{
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(tid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    // Fields after the parenthesised name: state is field 3, utime 14 and stime 15.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

/// CPU of the program alone: every thread of the process but the simulated instrument's.
class ProgramCpu {
public:
    explicit ProgramCpu(QSet<QString> instrumentThreads) : instrument_(std::move(instrumentThreads)) {}

    /// The whole process's, threads that have ended included, less the instrument's.
    double seconds() const
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        double sum = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        for (const QString &tid : instrument_)
            sum -= threadCpuSeconds(tid);
        return sum;
    }

private:
    QSet<QString> instrument_;
};

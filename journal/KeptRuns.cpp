#include "KeptRuns.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The file ends with a whole record that passes its checksum, or with the header alone. Damage
// further in is found only by reading it all, which a start cannot afford.
bool endsWhole(const QString &path, qint64 size)
{
    const qint64 header = qint64(JournalFormat::HeaderSize), record = qint64(JournalFormat::RecordSize);
    if ((size - header) % record != 0)
        return false;
    if (size == header)
        return true;
    QFile file(path);
    JournalFormat::RecordBytes last{};
    return file.open(QIODevice::ReadOnly) && file.seek(size - record) &&
           file.read(reinterpret_cast<char *>(last.data()), record) == record &&
           JournalFormat::decode(last.data()).has_value();
}

} // namespace

std::vector<KeptRunFile> keptRunFiles(const QString &folder)
{
    std::vector<KeptRunFile> files;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo &entry : entries) {
        KeptRunFile file;
        file.path = entry.filePath();
        file.size = entry.size();
        file.lastWritten = entry.lastModified();
        file.journal = readJournalStart(file.path, &file.reason).has_value();
        file.intact = file.journal && endsWhole(file.path, file.size);
        files.push_back(file);
    }
    return files;
}

QStringList runsToRemove(const std::vector<KeptRunFile> &files, const KeptRunLimits &limits, const QDateTime &now)
{
    std::vector<const KeptRunFile *> runs;
    for (const KeptRunFile &file : files)
        if (file.intact)
            runs.push_back(&file);
    std::sort(runs.begin(), runs.end(),
              [](const KeptRunFile *a, const KeptRunFile *b) { return a->lastWritten < b->lastWritten; });
    qint64 total = 0;
    for (const KeptRunFile *run : runs)
        total += run->size;

    QStringList removed;
    const QDateTime tooOld = now.addDays(-limits.maxAgeDays);
    const QDateTime lastDay = now.addDays(-1);
    for (const KeptRunFile *run : runs) { // oldest first
        if (run->lastWritten > lastDay)
            break;
        if (run->lastWritten >= tooOld && total <= limits.maxTotalBytes)
            break;
        removed << run->path;
        total -= run->size;
    }
    return removed;
}

QStringList tidyKeptRuns(const QString &folder, const KeptRunLimits &limits, const QDateTime &now)
{
    QStringList removed;
    for (const QString &run : runsToRemove(keptRunFiles(folder), limits, now))
        if (QFile::remove(run))
            removed << run;
    return removed;
}

std::optional<std::vector<KeptRun>> readKeptRuns(const QString &folder, const JournalProgress &progress)
{
    std::vector<KeptRun> runs;
    qint64 total = 0;
    for (const KeptRunFile &file : keptRunFiles(folder)) {
        runs.push_back({file, {}});
        if (file.journal)
            total += file.size;
    }
    qint64 before = 0;
    for (KeptRun &run : runs) {
        if (!run.file.journal)
            continue;
        const auto overall = [&](qint64 read, qint64) { return !progress || progress(before + read, total); };
        run.scan = readJournal(run.file.path, {}, overall);
        if (run.scan.stopped)
            return std::nullopt;
        before += run.file.size;
    }
    return runs;
}

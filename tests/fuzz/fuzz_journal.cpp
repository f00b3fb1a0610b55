// Arbitrary journal files through the reader and the rebuild that recovery runs, and through
// the list and the housekeeping of kept runs: a damaged or foreign file must end the reading
// with a reason, never crash or hang, and never be removed unless it is a journal that ends
// with a sound record (damage further in is not looked for at start).
#include "ChartData.h"
#include "JournalRecovery.h"
#include "KeptRuns.h"
#include "RegisterStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {
QTemporaryDir *folder = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString kept = keptRunsFolder(journalPath(folder->path()));
    const QString path = QDir(kept).filePath(QStringLiteral("journal-2026-12-11_08-00-00.kxj"));
    {
        QDir().mkpath(kept);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            __builtin_trap();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ChartData chart;
    RegisterStore rows;
    const JournalScan scan = replayJournal(path, chart, rows);
    // What the question announces is what the rebuild holds.
    if (scan.valid && (scan.goodLength > scan.fileLength || quint64(rows.size()) != scan.summary.registerRows))
        __builtin_trap();
    // The list says what the rebuild would find.
    const std::optional<std::vector<KeptRun>> listed = readKeptRuns(kept);
    if (!listed || listed->size() != 1 || listed->front().file.journal != scan.valid ||
        listed->front().scan.summary.registerRows != scan.summary.registerRows)
        __builtin_trap();
    // However old, a file that is not a journal, or whose end is torn or damaged, stays; a
    // sound one goes.
    const QStringList removed = tidyKeptRuns(kept, KeptRunLimits{}, QDateTime::currentDateTime().addYears(1));
    const bool sound = scan.valid && scan.goodLength == scan.fileLength;
    const bool wholeRecords =
        (scan.fileLength - qint64(JournalFormat::HeaderSize)) % qint64(JournalFormat::RecordSize) == 0;
    if (removed.isEmpty() != QFile::exists(path) || (!removed.isEmpty() && !(scan.valid && wholeRecords)) ||
        (sound && removed.isEmpty()))
        __builtin_trap();
    return 0;
}

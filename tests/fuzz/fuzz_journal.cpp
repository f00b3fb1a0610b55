// Arbitrary journal files through the reader and the rebuild that recovery runs: a damaged or
// foreign file must end the reading with a reason, never crash or hang.
#include "ChartData.h"
#include "JournalRecovery.h"
#include "RegisterStore.h"

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
    const QString path = folder->filePath(QStringLiteral("journal.kxj"));
    {
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
    return 0;
}

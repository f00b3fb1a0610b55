#include "JournalReader.h"

#include <QFile>

#include <vector>

namespace {

void count(JournalSummary &summary, const JournalRecord &record)
{
    switch (record.type) {
    case JournalRecord::Type::ChartPoint:
        ++summary.chartPoints;
        summary.lastTime = record.point.measTime;
        break;
    case JournalRecord::Type::ChartClear:
        summary.chartPoints = 0;
        break;
    case JournalRecord::Type::RegisterRow:
        ++summary.registerRows;
        summary.lastTime = record.row.measTime;
        break;
    case JournalRecord::Type::RegisterClear:
        summary.registerRows = 0;
        break;
    }
}

} // namespace

std::optional<qint64> readJournalStart(const QString &path, QString *error)
{
    const JournalScan scan = readJournal(path, {}, [](qint64, qint64) { return false; });
    if (error)
        *error = scan.error;
    return scan.valid ? std::optional(scan.summary.startLocalMs) : std::nullopt;
}

JournalScan readJournal(const QString &path, const std::function<void(const JournalRecord &)> &visit,
                        const JournalProgress &progress)
{
    JournalScan scan;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        scan.error = file.errorString();
        return scan;
    }
    scan.fileLength = file.size();
    JournalFormat::HeaderBytes header{};
    const auto start =
        file.read(reinterpret_cast<char *>(header.data()), qint64(header.size())) == qint64(header.size())
            ? JournalFormat::decodeHeader(header.data())
            : std::nullopt;
    if (!start) {
        scan.error = QStringLiteral("nie jest to zapis pomiarów");
        return scan;
    }
    scan.valid = true;
    scan.summary.startLocalMs = *start;
    scan.goodLength = qint64(header.size());

    constexpr std::size_t Size = JournalFormat::RecordSize;
    std::vector<unsigned char> chunk(Size * 16384);
    for (;;) {
        if (progress && !progress(scan.goodLength, scan.fileLength)) {
            scan.stopped = true;
            return scan;
        }
        const qint64 got = file.read(reinterpret_cast<char *>(chunk.data()), qint64(chunk.size()));
        if (got <= 0)
            return scan;
        for (std::size_t at = 0; at + Size <= std::size_t(got); at += Size) {
            const auto record = JournalFormat::decode(chunk.data() + at);
            if (!record)
                return scan;
            count(scan.summary, *record);
            if (visit)
                visit(*record);
            scan.goodLength += qint64(Size);
        }
        if (std::size_t(got) % Size != 0)
            return scan; // a partial record: the file ends inside it, whatever follows a short read
    }
}

bool cutJournalTail(const QString &path, const JournalScan &scan, QString *error)
{
    QFile file(path);
    if (!scan.valid || !file.resize(scan.goodLength)) {
        *error = scan.valid ? file.errorString() : scan.error;
        return false;
    }
    return true;
}

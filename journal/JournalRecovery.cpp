#include "JournalRecovery.h"

#include "ChartData.h"
#include "RegisterStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {

QDateTime localDateTime(qint64 localMs)
{
    return QDateTime::fromMSecsSinceEpoch(localMs, Qt::UTC);
}

} // namespace

QString journalPath(const QString &workDir)
{
    return QDir(workDir).filePath(QStringLiteral("journal.kxj"));
}

QString journalQuestion(const JournalSummary &summary, const QDateTime &lastWritten)
{
    const QString format = QStringLiteral("dd.MM.yyyy hh:mm:ss");
    return QStringLiteral("Poprzednia praca programu nie została zakończona poprawnie.\n"
                          "Zachował się zapis pomiarów rozpoczęty %1, ostatnio uzupełniony %2\n"
                          "(punkty wykresu: %3, wiersze tabeli rejestracji: %4).\n\n"
                          "Czy odtworzyć wykres i tabelę rejestracji?\n"
                          "Jeśli nie, zapis zostanie zachowany w osobnym pliku.")
        .arg(localDateTime(summary.startLocalMs).toString(format), lastWritten.toString(format),
             QString::number(summary.chartPoints), QString::number(summary.registerRows));
}

QString journalReadingText(qint64 bytesRead, qint64 fileLength)
{
    const auto records = [](qint64 size) {
        return std::max<qint64>(0, size - qint64(JournalFormat::HeaderSize)) / qint64(JournalFormat::RecordSize);
    };
    return QStringLiteral("odczytane zapisy: %L1 z %L2").arg(records(bytesRead)).arg(records(fileLength));
}

JournalScan replayJournal(const QString &path, ChartData &chart, RegisterStore &store, const JournalProgress &progress)
{
    const auto visit = [&](const JournalRecord &record) {
        switch (record.type) {
        case JournalRecord::Type::ChartPoint:
            appendSamplePoints(chart, record.point);
            break;
        case JournalRecord::Type::ChartClear:
            chart.clear();
            break;
        case JournalRecord::Type::RegisterRow:
            store.append(record.row);
            break;
        case JournalRecord::Type::RegisterClear:
            store.clear();
            break;
        }
    };
    return readJournal(path, visit, progress);
}

QString keptRunsFolder(const QString &journalPath)
{
    return QFileInfo(journalPath).dir().filePath(QStringLiteral("pomiary"));
}

namespace {

// A free name in the kept runs' folder for a run that began at startLocalMs; empty (error set)
// when the folder cannot be made.
QString keptName(const QString &journalPath, qint64 startLocalMs, QString *error)
{
    const QDir folder(keptRunsFolder(journalPath));
    if (!folder.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("nie można utworzyć folderu „%1”").arg(QDir::toNativeSeparators(folder.path()));
        return {};
    }
    const QString stem =
        QStringLiteral("journal-") + localDateTime(startLocalMs).toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    QString target = folder.filePath(stem + QStringLiteral(".kxj"));
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = folder.filePath(stem + QStringLiteral("-%1.kxj").arg(n));
    return target;
}

} // namespace

namespace {

// Places the journal under its kept name, by moving or copying it.
QString placeAside(const QString &path, qint64 startLocalMs, QString *error, bool (QFile::*place)(const QString &))
{
    const QString target = keptName(path, startLocalMs, error);
    if (target.isEmpty())
        return {};
    QFile file(path);
    if (!(file.*place)(target)) {
        *error = file.errorString();
        return {};
    }
    return target;
}

} // namespace

QString keepAside(const QString &path, qint64 startLocalMs, QString *error)
{
    return placeAside(path, startLocalMs, error, &QFile::rename);
}

QString keepCopyAside(const QString &path, qint64 startLocalMs, QString *error)
{
    const QString copy = placeAside(path, startLocalMs, error, &QFile::copy);
    // The copy is the same run: it ended when the journal was last written, not now.
    if (!copy.isEmpty()) {
        QFile file(copy);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(QFileInfo(path).lastModified(), QFileDevice::FileModificationTime);
    }
    return copy;
}

QString copySide(const QString &path, JournalRecord::Type side, JournalSink &sink)
{
    using T = JournalRecord::Type;
    const auto onSide = [side](T type) {
        return side == T::ChartClear ? type == T::ChartPoint || type == T::ChartClear
                                     : type == T::RegisterRow || type == T::RegisterClear;
    };
    std::vector<unsigned char> batch;
    QString error;
    const auto flush = [&] {
        if (error.isEmpty() && !batch.empty())
            error = sink.write(batch.data(), batch.size());
        batch.clear();
    };
    const JournalScan scan = readJournal(path, [&](const JournalRecord &record) {
        if (!onSide(record.type))
            return;
        const auto bytes = JournalFormat::encode(record);
        batch.insert(batch.end(), bytes.begin(), bytes.end());
        if (batch.size() >= (1u << 20))
            flush();
    });
    flush();
    return scan.valid ? error : scan.error;
}

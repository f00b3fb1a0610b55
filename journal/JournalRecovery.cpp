#include "JournalRecovery.h"

#include "ChartData.h"
#include "RegisterStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

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

namespace {

// Places the journal under its dated name, by moving or copying it.
QString placeAside(const QString &path, qint64 startLocalMs, QString *error,
                   const std::function<bool(QFile &, const QString &)> &place)
{
    const QFileInfo info(path);
    const QString stem =
        QStringLiteral("journal-") + localDateTime(startLocalMs).toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    QString target = info.dir().filePath(stem + QStringLiteral(".kxj"));
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = info.dir().filePath(stem + QStringLiteral("-%1.kxj").arg(n));
    QFile file(path);
    if (!place(file, target)) {
        *error = file.errorString();
        return {};
    }
    return target;
}

} // namespace

QString keepAside(const QString &path, qint64 startLocalMs, QString *error)
{
    return placeAside(path, startLocalMs, error, [](QFile &file, const QString &to) { return file.rename(to); });
}

QString keepCopyAside(const QString &path, qint64 startLocalMs, QString *error)
{
    return placeAside(path, startLocalMs, error, [](QFile &file, const QString &to) { return file.copy(to); });
}

#include "JournalRecovery.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

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

QString journalQuestion(const JournalSummary &summary)
{
    const QString started = localDateTime(summary.startLocalMs).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    const double span = summary.samples > 0 ? summary.lastTime - summary.firstTime : 0.0;
    return QStringLiteral("Poprzednia praca programu nie została zakończona poprawnie.\n"
                          "Znaleziono zapis pomiarów rozpoczęty %1: %2 próbek z %3 s pomiaru.\n"
                          "Czy odtworzyć wykres i tabelę rejestracji?")
        .arg(started, QString::number(summary.samples), QLocale().toString(span, 'f', 2));
}

QString keepAside(const QString &path, qint64 startLocalMs, QString *error)
{
    const QFileInfo info(path);
    const QString stem =
        QStringLiteral("journal-") + localDateTime(startLocalMs).toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    QString target = info.dir().filePath(stem + QStringLiteral(".kxj"));
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = info.dir().filePath(stem + QStringLiteral("-%1.kxj").arg(n));
    QFile file(path);
    if (!file.rename(target)) {
        *error = file.errorString();
        return {};
    }
    return target;
}

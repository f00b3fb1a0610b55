#include "JournalRecord.h"
#include "JournalRecovery.h"
#include "KeptRuns.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime Now(QDate(2026, 12, 11), QTime(12, 0));

enum class Kind { Intact, Damaged, Foreign };

KeptRunFile run(const QString &name, qint64 hoursOld, qint64 gigabytes, Kind kind = Kind::Intact)
{
    return {name, gigabytes * 1'000'000'000, Now.addSecs(-hoursOld * 3600), kind != Kind::Foreign, kind == Kind::Intact,
            {}};
}

QByteArray journalBytes(int records)
{
    const auto header = JournalFormat::encodeHeader(1'796'000'000'000);
    QByteArray bytes(reinterpret_cast<const char *>(header.data()), qsizetype(header.size()));
    for (int i = 0; i < records; ++i) {
        RegisterRow row;
        row.measTime = i;
        const auto record = JournalFormat::encode(JournalRecord::registerRow(row));
        bytes.append(reinterpret_cast<const char *>(record.data()), qsizetype(record.size()));
    }
    return bytes;
}

} // namespace

class TestKeptRuns : public QObject {
    Q_OBJECT

private slots:
    void housekeeping_data()
    {
        QTest::addColumn<std::vector<KeptRunFile>>("files");
        QTest::addColumn<QStringList>("removed");
        const int day = 24;
        QTest::newRow("nothing old, under the size")
            << std::vector{run("a", 29 * day, 1), run("b", 2, 1)} << QStringList{};
        QTest::newRow("older than 30 days, oldest first")
            << std::vector{run("new", 3, 1), run("old", 31 * day, 1), run("older", 40 * day, 1)}
            << QStringList{"older", "old"};
        QTest::newRow("over 5 GB: the oldest until under")
            << std::vector{run("a", 5 * day, 2), run("b", 4 * day, 2), run("c", 3 * day, 3), run("d", 2 * day, 1)}
            << QStringList{"a", "b"};
        QTest::newRow("the last day's run stays, whatever its size")
            << std::vector{run("today", 23, 9), run("yesterday", 25, 1)} << QStringList{"yesterday"};
        QTest::newRow("the last day's runs stay, however old the limit says")
            << std::vector{run("a", 1, 3), run("b", 2, 3)} << QStringList{};
        QTest::newRow("unreadable files are neither removed nor counted")
            << std::vector{run("foreign", 90 * day, 100, Kind::Foreign), run("run", 2 * day, 4)} << QStringList{};
        QTest::newRow("damaged runs are neither removed nor counted")
            << std::vector{run("torn", 90 * day, 100, Kind::Damaged), run("run", 2 * day, 4)} << QStringList{};
    }
    // Oldest first, by age and then by size, never the last 24 hours nor a file that is not a run.
    void housekeeping()
    {
        QFETCH(std::vector<KeptRunFile>, files);
        QFETCH(QStringList, removed);
        QCOMPARE(runsToRemove(files, KeptRunLimits{}, Now), removed);
    }

    // On disk: a run past its age goes; a foreign file, a damaged header, an empty file and a
    // journal with a damaged end stay, whatever their age and name, listed with the reason.
    void tidyingAndListingTheFolder()
    {
        QTemporaryDir dir;
        const QString folder = keptRunsFolder(journalPath(dir.path()));
        QVERIFY(QDir().mkpath(folder));
        const auto write = [&](const QString &name, const QByteArray &bytes, int daysOld) {
            QFile file(QDir(folder).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.flush();
            file.setFileTime(QDateTime::currentDateTime().addDays(-daysOld), QFileDevice::FileModificationTime);
        };
        QByteArray damagedHeader = journalBytes(3);
        damagedHeader[6] = char(damagedHeader[6] ^ 1);
        write("journal-old.kxj", journalBytes(5), 45);
        write("journal-recent.kxj", journalBytes(7) + QByteArray(10, 'x'), 2);
        QByteArray badLast = journalBytes(4);
        badLast[badLast.size() - 1] = char(badLast[badLast.size() - 1] ^ 1);
        write("journal-torn.kxj", journalBytes(4).chopped(3), 50);
        write("journal-bad-last.kxj", badLast, 50);
        write("notes.txt", "notatki", 400);
        write("journal-damaged.kxj", damagedHeader, 60);
        write("empty.kxj", {}, 60);
        write("journal-copy.kxj.part", "x", 90);

        const QStringList removed = tidyKeptRuns(folder, KeptRunLimits{}, QDateTime::currentDateTime());
        QCOMPARE(removed, QStringList{QDir(folder).filePath("journal-old.kxj")});
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
                 (QStringList{"empty.kxj", "journal-bad-last.kxj", "journal-copy.kxj.part", "journal-damaged.kxj",
                              "journal-recent.kxj", "journal-torn.kxj", "notes.txt"}));

        const std::optional<std::vector<KeptRun>> runs = readKeptRuns(folder);
        QVERIFY(runs);
        QCOMPARE(runs->size(), std::size_t(7));
        QCOMPARE(QFileInfo(runs->front().file.path).fileName(), QStringLiteral("journal-recent.kxj")); // newest
        for (const KeptRun &run : *runs) {
            const QString name = QFileInfo(run.file.path).fileName();
            if (!name.startsWith(QStringLiteral("journal-")) || name.contains(QStringLiteral("copy")) ||
                name.contains(QStringLiteral("damaged"))) {
                QVERIFY2(!run.file.journal, qPrintable(name));
                QCOMPARE(run.file.reason, QStringLiteral("nie jest to zapis pomiarów"));
                continue;
            }
            QVERIFY2(run.file.journal && !run.file.intact, qPrintable(name)); // all torn or damaged at the end
            QVERIFY(run.scan.goodLength < run.scan.fileLength);
        }
        QCOMPARE(runs->front().scan.summary.registerRows, quint64(7));
    }

    // A reading stopped through its progress returns nothing rather than a part of the list.
    void listingStopped()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("journal-a.kxj"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(journalBytes(10));
        file.close();
        QVERIFY(!readKeptRuns(dir.path(), [](qint64, qint64) { return false; }));
        QVERIFY(readKeptRuns(dir.path()));
    }
};

QTEST_GUILESS_MAIN(TestKeptRuns)
#include "tst_keptruns.moc"

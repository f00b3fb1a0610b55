#include "JournalFixtures.h"
#include "JournalReader.h"
#include "JournalRecovery.h"
#include "JournalWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;

namespace {

constexpr qint64 Start = 1'796'000'000'000; // 2026-11-30 00:53:20 as local wall-clock

std::vector<JournalRecord> readAll(const QString &path, JournalScan *scan)
{
    std::vector<JournalRecord> got;
    *scan = readJournal(path, [&](const JournalRecord &r) { got.push_back(r); });
    return got;
}

// A disk that takes the header, then holds the next write until released and fails it as
// full; counts every write it is asked for.
class FullDisk final : public JournalSink {
public:
    QString write(const unsigned char *, std::size_t) override
    {
        if (writes++ == 0)
            return {};
        std::unique_lock lock(m_mutex);
        m_held = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released; });
        return QStringLiteral("No space left on device");
    }
    QString sync() override { return {}; }
    void discard() override {}

    void waitUntilHeld()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_held; });
    }
    void release()
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    std::atomic<int> writes{0};

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
    bool m_released = false;
};

} // namespace

class TestJournalWriter : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path() const { return journalPath(m_dir.path()); }
    std::unique_ptr<JournalWriter> openWriter(std::chrono::milliseconds period = 500ms)
    {
        QString error;
        auto sink = openJournalFile(path(), JournalOpen::New, &error);
        if (!sink)
            qFatal("cannot open the journal: %s", qPrintable(error));
        return std::make_unique<JournalWriter>(std::move(sink), Start, nullptr, period);
    }

private slots:
    void cleanup() { QFile::remove(path()); }

    // The writer is dropped without a clean end, as by a crash: everything appended is read back.
    void roundTripAfterUncleanEnd()
    {
        const auto run = sampleRun(5000);
        {
            auto writer = openWriter(1h);
            for (const JournalRecord &r : run)
                writer->append(r);
        }
        JournalScan scan;
        const auto got = readAll(path(), &scan);
        QVERIFY(scan.valid);
        QCOMPARE(scan.summary.startLocalMs, Start);
        QCOMPARE(scan.goodLength, scan.fileLength);
        QCOMPARE(got.size(), run.size());
        for (std::size_t i = 0; i < run.size(); ++i)
            compareRecords(got[i], run[i]);
    }

    // A killed program loses at most the last flush period: the records are on disk while the
    // writer still runs, without any stop or finish.
    void onDiskWithinTheFlushPeriod()
    {
        auto writer = openWriter();
        const auto run = sampleRun(30);
        for (const JournalRecord &r : run)
            writer->append(r);
        JournalScan scan;
        QTRY_COMPARE_WITH_TIMEOUT(readAll(path(), &scan).size(), run.size(), 1000);
        writer->abandon();
    }

    void finishRemovesTheJournal()
    {
        auto writer = openWriter();
        writer->append(sampleRun(1).front());
        writer->finish();
        QVERIFY(!QFile::exists(path()));
        writer.reset();
        QVERIFY(!QFile::exists(path()));
    }

    // A full disk is reported once; appends neither block while the disk hangs nor reach it after.
    void fullDiskReportedOnceAndNeverBlocks()
    {
        auto disk = std::make_unique<FullDisk>();
        FullDisk &seen = *disk;
        std::atomic<int> reports{0};
        QString reported;
        JournalWriter writer(
            std::move(disk), Start,
            [&](const QString &e) {
                reported = e;
                ++reports;
            },
            10ms);

        const auto run = sampleRun(2000);
        writer.append(run.front());
        seen.waitUntilHeld();
        for (const JournalRecord &r : run) // the disk hangs: these must still return
            writer.append(r);
        QCOMPARE(reports.load(), 0);

        seen.release();
        QTRY_COMPARE(reports.load(), 1);
        QCOMPARE(reported, QStringLiteral("No space left on device"));
        const int writesAtFailure = seen.writes.load();
        for (int round = 0; round < 5; ++round) {
            for (const JournalRecord &r : run)
                writer.append(r);
            QTest::qWait(20);
        }
        QVERIFY(writer.failed());
        QCOMPARE(reports.load(), 1);
        QCOMPARE(seen.writes.load(), writesAtFailure);
    }

    void questionSaysHowMuchAndWhen()
    {
        JournalSummary summary;
        summary.startLocalMs = Start;
        summary.chartPoints = 1234567;
        summary.registerRows = 89;
        const QDateTime lastWritten(QDate(2026, 11, 30), QTime(2, 5, 7));
        QCOMPARE(journalQuestion(summary, lastWritten),
                 QStringLiteral("Poprzednia praca programu nie została zakończona poprawnie.\n"
                                "Zachował się zapis pomiarów rozpoczęty 30.11.2026 00:53:20, ostatnio uzupełniony "
                                "30.11.2026 02:05:07\n"
                                "(punkty wykresu: 1234567, wiersze tabeli rejestracji: 89).\n\n"
                                "Czy odtworzyć wykres i tabelę rejestracji?\n"
                                "Jeśli nie, zapis zostanie zachowany w osobnym pliku."));
    }

    void keptAsideUnderADatedName()
    {
        QString error;
        QStringList kept;
        for (int i = 0; i < 2; ++i) {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::number(i));
            file.close();
            kept << keepAside(path(), Start, &error);
            QVERIFY2(!kept.last().isEmpty(), qPrintable(error));
            QVERIFY(!QFile::exists(path()));
        }
        QCOMPARE(kept, QStringList({m_dir.filePath(QStringLiteral("pomiary/journal-2026-11-30_00-53-20.kxj")),
                                    m_dir.filePath(QStringLiteral("pomiary/journal-2026-11-30_00-53-20-2.kxj"))}));
        QFile first(kept.first());
        QVERIFY(first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), QByteArray("0"));
    }
};

QTEST_GUILESS_MAIN(TestJournalWriter)
#include "tst_journalwriter.moc"

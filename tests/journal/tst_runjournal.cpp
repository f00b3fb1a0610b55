#include "ChartData.h"
#include "JournalFixtures.h"
#include "JournalRecovery.h"
#include "RegisterStore.h"
#include "RunJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

using T = JournalRecord::Type;

// Feeds the run to the journal and to a chart and store directly, as the pages would.
void feed(RunJournal &journal, const std::vector<JournalRecord> &run, ChartData &chart, RegisterStore &store)
{
    for (const JournalRecord &r : run) {
        switch (r.type) {
        case T::ChartPoint:
            appendSamplePoints(chart, r.point);
            journal.chartPoint(r.point);
            break;
        case T::ChartClear:
            chart.clear();
            journal.chartCleared();
            break;
        case T::RegisterRow:
            store.append(r.row);
            journal.registerRow(r.row);
            break;
        case T::RegisterClear:
            store.clear();
            journal.registerCleared();
            break;
        }
    }
}

void compareCharts(const ChartData &got, const ChartData &want)
{
    for (int s = 0; s < ChartData::SeriesCount; ++s) {
        QCOMPARE(got.series(s).size(), want.series(s).size());
        for (std::size_t i = 0; i < want.series(s).size(); ++i) {
            QCOMPARE(got.series(s).x(i), want.series(s).x(i));
            QCOMPARE(got.series(s).y(i), want.series(s).y(i));
        }
    }
}

void compareStores(const RegisterStore &got, const RegisterStore &want)
{
    QCOMPARE(got.size(), want.size());
    for (qint64 i = 0; i < want.size(); ++i) {
        QCOMPARE(got.at(i).measTime, want.at(i).measTime);
        QCOMPARE(got.at(i).localMs, want.at(i).localMs);
        QCOMPARE(got.at(i).flags, want.at(i).flags);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(got.at(i).value[k], want.at(i).value[k]);
    }
}

// A start after an unclean end, answering "yes" when asked.
struct RecoveredStart {
    explicit RecoveredStart(const QString &path) : journal(path)
    {
        recovered = journal.leftOver().has_value();
        if (recovered)
            journal.recover(chart, store);
    }
    RunJournal journal;
    ChartData chart;
    RegisterStore store;
    bool recovered = false;
};

// A disk that takes the header and fails everything after it; counts the journals opened.
class FullDisk final : public JournalSink {
public:
    QString write(const unsigned char *, std::size_t) override
    {
        return writes++ == 0 ? QString() : QStringLiteral("No space left on device");
    }
    QString sync() override { return {}; }
    void discard() override {}
    int writes = 0;
};

} // namespace

class TestRunJournal : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path() const { return journalPath(m_dir.path()); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files); }

private slots:
    void cleanup()
    {
        for (const QString &name : files())
            QFile::remove(m_dir.filePath(name));
    }

    // A rebuild abandoned through its progress stops reading and leaves the file as it was.
    void rebuildStopsWhenAsked()
    {
        ChartData chart;
        RegisterStore store;
        {
            RunJournal journal(path());
            feed(journal, sampleRun(40000), chart, store); // more than one read of the file
        }
        const qint64 length = QFileInfo(path()).size();
        RunJournal journal(path());
        QVERIFY(journal.leftOver());
        ChartData gotChart;
        RegisterStore gotStore;
        QList<qint64> reported;
        const JournalScan scan = journal.rebuild(gotChart, gotStore, [&](qint64 read, qint64 total) {
            reported << read;
            return total == length && reported.size() < 2;
        });
        QVERIFY(scan.stopped);
        QCOMPARE(reported.size(), 2);
        QVERIFY(reported[1] > reported[0]);
        const auto rebuilt = gotChart.longestSeries() + std::size_t(gotStore.size());
        QVERIFY(rebuilt > 0 && rebuilt < chart.longestSeries() + std::size_t(store.size()));
        QCOMPARE(QFileInfo(path()).size(), length);
    }

    // Dropped without a clean exit, as by a crash: the next start rebuilds the chart and the
    // register exactly, clears included, and its own records go on after the recovered ones.
    void recoveryRebuildsAndGoesOn()
    {
        ChartData chart;
        RegisterStore store;
        const auto run = sampleRun(500);
        {
            RunJournal journal(path());
            feed(journal, run, chart, store);
        }
        {
            RunJournal journal(path());
            const auto left = journal.leftOver();
            QVERIFY(left);
            QCOMPARE(left->chartPoints, quint64(chart.series(3).size()));
            QCOMPARE(left->registerRows, quint64(store.size()));
            ChartData gotChart;
            RegisterStore gotStore;
            journal.recover(gotChart, gotStore);
            compareCharts(gotChart, chart);
            compareStores(gotStore, store);
            feed(journal, sampleRun(30), chart, store);
        }
        RunJournal journal(path());
        QVERIFY(journal.leftOver());
        ChartData gotChart;
        RegisterStore gotStore;
        journal.recover(gotChart, gotStore);
        compareCharts(gotChart, chart);
        compareStores(gotStore, store);
    }

    // A recovered journal ends like any other: at a clean exit, or when both sides are
    // emptied, even with nothing added since; and a clear is its first new record if it
    // comes first, so that the cleared side does not come back at the next recovery.
    void recoveredJournalEndsLikeAnyOther()
    {
        auto crashedRun = [this] {
            RunJournal journal(path());
            ChartData chart;
            RegisterStore store;
            feed(journal, sampleRun(9), chart, store); // chart points and two register rows
        };
        crashedRun();
        {
            RecoveredStart start(path());
            QVERIFY(start.recovered);
            start.journal.finish();
        }
        QVERIFY(!QFile::exists(path()));

        crashedRun();
        {
            RecoveredStart start(path());
            QVERIFY(start.recovered);
            start.journal.chartCleared();
            QVERIFY(QFile::exists(path()));
            start.journal.registerCleared();
        }
        QVERIFY(!QFile::exists(path()));

        crashedRun();
        {
            RecoveredStart start(path());
            QVERIFY(start.recovered);
            start.journal.chartCleared(); // the record button, the register keeping its rows
            ChartSample point;
            point.measTime = 7.25;
            start.journal.chartPoint(point);
        }
        RecoveredStart start(path());
        QVERIFY(start.recovered);
        QCOMPARE(start.chart.series(3).size(), std::size_t(1));
        QCOMPARE(start.chart.series(3).x(0), 7.25);
        QCOMPARE(start.store.size(), qint64(2));
    }

    // A damaged record inside the journal ends what can be trusted, but sound records may
    // follow it: they are kept in a copy before the journal is cut back.
    void damageInsideKeptInACopy()
    {
        {
            RunJournal journal(path());
            ChartData chart;
            RegisterStore store;
            feed(journal, sampleRun(10), chart, store);
        }
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray whole = file.readAll();
        const qint64 damagedAt = qint64(JournalFormat::HeaderSize + 3 * JournalFormat::RecordSize + 5);
        file.seek(damagedAt);
        file.write(QByteArray(1, char(whole[damagedAt] ^ 0x40)));
        file.close();

        RecoveredStart start(path());
        QVERIFY(start.recovered);
        QCOMPARE(start.chart.series(3).size() + std::size_t(start.store.size()), std::size_t(3));
        QStringList kept = files();
        kept.removeAll(QStringLiteral("journal.kxj"));
        QCOMPARE(kept.size(), 1);
        QFile copy(m_dir.filePath(kept.first()));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.size(), qint64(whole.size()));
        QCOMPARE(QFileInfo(path()).size(), qint64(JournalFormat::HeaderSize + 3 * JournalFormat::RecordSize));
    }

    // A record half written when the program died is cut off before new records follow it,
    // so that they are not hidden behind it at the next recovery.
    void tornTailCutBeforeGoingOn()
    {
        const auto run = sampleRun(20);
        {
            RunJournal journal(path());
            ChartData chart;
            RegisterStore store;
            feed(journal, run, chart, store);
        }
        QFile file(path());
        QVERIFY(file.resize(file.size() - 5));
        qint64 rows = 0;
        {
            RecoveredStart start(path());
            QVERIFY(start.recovered);
            rows = start.store.size();
            RegisterRow row;
            row.measTime = 99.5;
            start.journal.registerRow(row);
        }
        RecoveredStart again(path());
        QVERIFY(again.recovered);
        QCOMPARE(again.store.size(), rows + 1);
        QCOMPARE(again.store.at(rows).measTime, 99.5);
    }

    // No journal without something recorded; emptying both sides ends it, and the next
    // record begins a new one that holds nothing of the old.
    void journalLivesWhileSomethingIsRecorded()
    {
        RunJournal journal(path());
        journal.chartCleared();
        journal.registerCleared();
        QVERIFY(!QFile::exists(path()));

        ChartSample point;
        point.measTime = 1.5;
        journal.chartPoint(point);
        journal.registerRow(RegisterRow{});
        QVERIFY(QFile::exists(path()));
        journal.chartCleared();
        QVERIFY(QFile::exists(path())); // the register still holds its row
        journal.registerCleared();
        QVERIFY(!QFile::exists(path()));

        point.measTime = 2.5;
        journal.chartPoint(point);
        journal.finish();
        QVERIFY(!QFile::exists(path()));
        journal.chartPoint(point); // arriving while the program closes
        QVERIFY(!QFile::exists(path()));
    }

    void leftOverWithNothingToRebuild_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("keptAside");
        const auto header = JournalFormat::encodeHeader(1'796'000'000'000);
        const QByteArray headerBytes(reinterpret_cast<const char *>(header.data()), qsizetype(header.size()));
        QByteArray allCleared = headerBytes;
        for (T type : {T::ChartPoint, T::RegisterRow, T::ChartClear, T::RegisterClear}) {
            const auto record = JournalFormat::encode(type == T::ChartPoint    ? JournalRecord::chartPoint({})
                                                      : type == T::RegisterRow ? JournalRecord::registerRow({})
                                                                               : JournalRecord::cleared(type));
            allCleared.append(reinterpret_cast<const char *>(record.data()), qsizetype(record.size()));
        }
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("torn header") << headerBytes.left(10) << false;
        QTest::newRow("short, not a journal") << QByteArray("notes") << true;
        QTest::newRow("header only") << headerBytes << false;
        QTest::newRow("everything cleared") << allCleared << false;
        QTest::newRow("not a journal") << QByteArray(100, 'x') << true;
    }
    // Nothing is asked; a file that is not a journal is not ours to delete.
    void leftOverWithNothingToRebuild()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, keptAside);
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        RunJournal journal(path());
        QVERIFY(!journal.leftOver());
        QVERIFY(!QFile::exists(path()));
        QCOMPARE(files().size(), keptAside ? 1 : 0);
        if (keptAside)
            QVERIFY(files().first().startsWith(QStringLiteral("journal-")));
    }

    void refusedRecoveryKeepsTheRunAside()
    {
        {
            RunJournal journal(path());
            ChartData chart;
            RegisterStore store;
            feed(journal, sampleRun(10), chart, store);
        }
        const QByteArray before = [&] {
            QFile f(path());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        RunJournal journal(path());
        QVERIFY(journal.leftOver());
        QString error;
        QVERIFY2(journal.keepAside(&error), qPrintable(error));
        journal.registerRow(RegisterRow{});
        QCOMPARE(files().size(), 2); // the new run's journal beside the old one
        QStringList kept = files();
        kept.removeAll(QStringLiteral("journal.kxj"));
        QFile old(m_dir.filePath(kept.first()));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), before);
    }

    // A full disk stops journaling with one report; neither emptying both sides nor later
    // records start a journal that would fail again.
    void fullDiskReportedOnce()
    {
        int opened = 0;
        RunJournal journal(path(), [&](const QString &, JournalOpen, QString *) {
            ++opened;
            return std::make_unique<FullDisk>();
        });
        QStringList reports;
        connect(
            &journal, &RunJournal::stopped, this, [&](const QString &r) { reports << r; }, Qt::QueuedConnection);
        ChartSample point;
        journal.chartPoint(point);
        QTRY_COMPARE(reports, QStringList{QStringLiteral("No space left on device")});
        journal.chartCleared();
        for (int i = 0; i < 10; ++i)
            journal.chartPoint(point);
        QTest::qWait(700);
        QCOMPARE(reports.size(), 1);
        QCOMPARE(opened, 1);
    }

    void folderThatCannotBeWrittenReportedOnce()
    {
        int opened = 0;
        RunJournal journal(path(), [&](const QString &, JournalOpen, QString *error) {
            ++opened;
            *error = QStringLiteral("Permission denied");
            return std::unique_ptr<JournalSink>();
        });
        QStringList reports;
        connect(&journal, &RunJournal::stopped, this, [&](const QString &r) { reports << r; });
        for (int i = 0; i < 3; ++i)
            journal.registerRow(RegisterRow{});
        QCOMPARE(reports, QStringList{QStringLiteral("Permission denied")});
        QCOMPARE(opened, 1);
    }
};

QTEST_GUILESS_MAIN(TestRunJournal)
#include "tst_runjournal.moc"

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
    /// The runs kept aside, by path.
    QStringList kept() const
    {
        const QDir folder(keptRunsFolder(path()));
        QStringList paths;
        for (const QString &name : folder.entryList(QDir::Files))
            paths << folder.filePath(name);
        return paths;
    }

private slots:
    void cleanup()
    {
        for (const QString &name : files())
            QFile::remove(m_dir.filePath(name));
        QDir(keptRunsFolder(path())).removeRecursively();
    }

    // A rebuild abandoned through its progress stops reading and leaves the file as it was.
    void rebuildStopsWhenAsked()
    {
        ChartData chart;
        RegisterStore store;
        {
            RunJournal journal(path());
            feed(journal, sampleRunWithoutClears(40000), chart, store); // more than one read of the file
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
        QCOMPARE(kept().size(), 1);
        QFile copy(kept().first());
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

    void unsavedRunKeptAside_data()
    {
        // p: chart point, r: register row, C/R: chart/register cleared, e: chart exported,
        // s: register saved, f: clean exit. Kept: each kept run's chart points and rows.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("keptRuns");
        QTest::newRow("exit, unsaved") << "pprf" << QStringList{"2/1"};
        QTest::newRow("exit, all saved") << "ppresf" << QStringList{};
        QTest::newRow("exit, saved and more taken") << "ppepf" << QStringList{"3/0"};
        QTest::newRow("exit, register unsaved") << "ppresrf" << QStringList{"2/2"};
        QTest::newRow("record, register empty") << "ppC" << QStringList{"2/0"};
        QTest::newRow("record after an export") << "ppeC" << QStringList{};
        QTest::newRow("record, register keeps rows") << "pprCpf" << QStringList{"1/1", "2/1"};
        QTest::newRow("register cleared, chart exported") << "ppreRf" << QStringList{"2/1"};
        QTest::newRow("saved register cleared") << "rsRf" << QStringList{};
        QTest::newRow("both cleared one by one") << "prRC" << QStringList{"1/0", "1/1"};
    }
    // Whatever unsaved an end or a clear takes away is kept aside whole, as it stood before;
    // what was saved in full is not.
    void unsavedRunKeptAside()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, keptRuns);
        {
            RunJournal journal(path());
            ChartSample point;
            RegisterRow row;
            for (const QChar step : steps) {
                switch (step.toLatin1()) {
                case 'p':
                    point.measTime += 0.5;
                    journal.chartPoint(point);
                    break;
                case 'r':
                    row.measTime += 0.5;
                    journal.registerRow(row);
                    break;
                case 'C':
                    journal.chartCleared();
                    break;
                case 'R':
                    journal.registerCleared();
                    break;
                case 'e':
                    journal.chartExported();
                    break;
                case 's':
                    journal.registerSaved();
                    break;
                case 'f':
                    journal.finish();
                    break;
                }
            }
        } // copies are complete once the journal is gone
        QVERIFY(!QFile::exists(path()));
        QStringList got;
        for (const QString &run : kept()) {
            QVERIFY2(run.endsWith(QStringLiteral(".kxj")), qPrintable(run));
            const JournalScan scan = readJournal(run);
            QVERIFY(scan.valid && scan.goodLength == scan.fileLength);
            got << QStringLiteral("%1/%2").arg(scan.summary.chartPoints).arg(scan.summary.registerRows);
        }
        got.sort();
        QCOMPARE(got, keptRuns);
    }

    // A clear of unsaved points while the register holds rows: the run as it stood is kept
    // aside, and the new journal goes on with the register's rows (read back from it while
    // records keep coming), so that a crash loses neither.
    void clearKeepsTheRunAndGoesOnWithTheOtherSide()
    {
        ChartData chart;
        RegisterStore store;
        const std::vector<JournalRecord> run = sampleRunWithoutClears(60000);
        {
            RunJournal journal(path());
            feed(journal, run, chart, store);
            journal.chartCleared();
            RegisterRow row;
            for (int i = 0; i < 1000; ++i) {
                row.measTime = 1000.0 + i;
                journal.registerRow(row);
                store.append(row);
            }
        } // an unclean end
        QCOMPARE(kept().size(), 1);
        ChartData keptChart;
        RegisterStore keptStore;
        const JournalScan scan = replayJournal(kept().first(), keptChart, keptStore);
        QCOMPARE(scan.goodLength, scan.fileLength);
        compareCharts(keptChart, chart);
        QCOMPARE(keptStore.size(), store.size() - 1000);

        RecoveredStart start(path());
        QVERIFY(start.recovered);
        QCOMPARE(start.chart.longestSeries(), std::size_t(0));
        compareStores(start.store, store);
        QCOMPARE(readJournalStart(path()), readJournalStart(kept().first())); // the same run
    }

    // A kept run taken up becomes the journal and goes on; the current unsaved run is kept
    // aside in its place, and a saved one is not.
    void keptRunTakenUp()
    {
        ChartData chart;
        RegisterStore store;
        {
            RunJournal journal(path());
            feed(journal, sampleRunWithoutClears(30), chart, store);
            journal.finish();
        }
        QCOMPARE(kept().size(), 1);
        const QString keptRun = kept().first();

        RunJournal journal(path());
        ChartSample point;
        point.measTime = 3.0;
        journal.chartPoint(point);
        RebuiltRun rebuilt;
        rebuilt.scan = replayJournal(keptRun, rebuilt.chart, rebuilt.rows);
        QString error;
        QVERIFY2(journal.takeUp(keptRun, rebuilt.scan, &error), qPrintable(error));
        QVERIFY(!QFile::exists(keptRun));
        QCOMPARE(kept().size(), 1); // the current run, with its one point
        QCOMPARE(readJournal(kept().first()).summary.chartPoints, quint64(1));
        QFile::remove(kept().first());
        compareCharts(rebuilt.chart, chart);
        compareStores(rebuilt.rows, store);

        point.measTime = 99.0;
        journal.chartPoint(point);
        journal.finish();
        QCOMPARE(kept().size(), 1);
        ChartData gotChart;
        RegisterStore gotStore;
        replayJournal(kept().first(), gotChart, gotStore);
        appendSamplePoints(chart, point);
        compareCharts(gotChart, chart);
        compareStores(gotStore, store);
    }

    // A kept run gone before it could be taken up: the failure is told, and the current run,
    // already kept aside, is not lost.
    void takeUpOfAVanishedRunFails()
    {
        RunJournal journal(path());
        journal.registerRow(RegisterRow{});
        QString error;
        QVERIFY(!journal.takeUp(m_dir.filePath(QStringLiteral("pomiary/gone.kxj")), JournalScan{}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(kept().size(), 1);
        QCOMPARE(readJournal(kept().first()).summary.registerRows, quint64(1));
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
        QVERIFY(files().isEmpty());
        QCOMPARE(kept().size(), keptAside ? 1 : 0);
        if (keptAside)
            QVERIFY(QFileInfo(kept().first()).fileName().startsWith(QStringLiteral("journal-")));
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
        QCOMPARE(files(), QStringList{QStringLiteral("journal.kxj")}); // the new run's journal
        QCOMPARE(kept().size(), 1);
        QFile old(kept().first());
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

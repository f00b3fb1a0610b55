#include "ChartData.h"
#include "ChartPage.h"
#include "ConfigText.h"
#include "ContinuousSampling.h"
#include "DeviceLink.h"
#include "JournalRecord.h"
#include "JournalRecovery.h"
#include "JournalSink.h"
#include "KeptRunOpening.h"
#include "Main.h"
#include "MeasurementSession.h"
#include "PtyInstrument.h"
#include "RecordingDialogs.h"
#include "RegisterPage.h"
#include "RegisterTableModel.h"
#include "ScopedWorkDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString Question = QStringLiteral("?Poprzednia praca programu nie została zakończona poprawnie.");
const QString ExitQuestion = QStringLiteral("?Pomiary nie zostały zapisane. Zamknąć program? Przebieg zostanie "
                                            "zachowany i można go otworzyć z menu Program.");

QStringList keptRuns(const ScopedWorkDir &dir)
{
    return QDir(keptRunsFolder(journalPath(dir.path()))).entryList({QStringLiteral("*.kxj")});
}

struct Recorded {
    std::vector<std::vector<std::pair<double, double>>> series;
    std::vector<RegisterRow> rows;
};

Recorded recorded(Program &program)
{
    Recorded r;
    const ChartData &chart = program.session().chart();
    for (int s = 0; s < ChartData::SeriesCount; ++s) {
        r.series.emplace_back();
        for (std::size_t i = 0; i < chart.series(s).size(); ++i)
            r.series.back().emplace_back(chart.series(s).x(i), chart.series(s).y(i));
    }
    const RegisterStore &store = program.session().rows();
    for (qint64 i = 0; i < store.size(); ++i)
        r.rows.push_back(store.at(i));
    return r;
}

void compare(const Recorded &got, const Recorded &want)
{
    QCOMPARE(got.series, want.series);
    QCOMPARE(got.rows.size(), want.rows.size());
    for (std::size_t i = 0; i < want.rows.size(); ++i) {
        QCOMPARE(got.rows[i].measTime, want.rows[i].measTime);
        QCOMPARE(got.rows[i].flags, want.rows[i].flags);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(got.rows[i].value[k], want.rows[i].value[k]);
    }
}

// Samples as the link hands them over, to the readout, the register and the recording chart.
void sample(Program &program, int count)
{
    for (int i = 0; i < count; ++i) {
        Sample s;
        s.time = 0.01 * i;
        s.value = {float(i) + 0.5f, float(-i) * 0.25f, 359.75f - float(i)};
        s.present = {true, i % 3 != 0, true};
        s.pk1 = i % 2 == 0;
        s.pk2 = i % 5 == 0;
        emit program.link().sampleDecoded(s);
    }
}

// A run recorded and registered by a program that then goes without a clean exit.
Recorded crashedRun(int samples)
{
    RecordingDialogs dialogs;
    Program program(dialogs);
    program.chart().SpeedButton15Click();
    sample(program, samples);
    return recorded(program);
}

} // namespace

class TestJournalRecovery : public QObject {
    Q_OBJECT

private slots:
    // The program goes without a clean exit; the next start asks once and rebuilds the chart
    // points and register rows exactly. Refused, the run is kept aside and nothing is rebuilt.
    void recoveredAfterAnUncleanEnd()
    {
        ScopedWorkDir dir;
        dir.write("config.ini", configText());
        Recorded before = crashedRun(300);
        QVERIFY(before.rows.size() == 300 && before.series[3].size() == 300);
        {
            RecordingDialogs dialogs;
            dialogs.answers = {true};
            Program program(dialogs);
            QCOMPARE(dialogs.shown.size(), 1);
            QVERIFY(dialogs.shown.first().startsWith(Question));
            QVERIFY(
                dialogs.shown.first().contains(QStringLiteral("punkty wykresu: 300, wiersze tabeli rejestracji: 300")));
            compare(recorded(program), before);
            // The run's time goes on from its last sample, START included, so that new points follow.
            QCOMPARE(program.link().acquisitionTime(), 0.01 * 299);
            program.link().startAcquisition();
            QCOMPARE(program.link().acquisitionTime(), 0.01 * 299);
            sample(program, 20); // the recovered run goes on in the same journal
            before = recorded(program);
        }
        {
            RecordingDialogs dialogs;
            Program program(dialogs);
            QCOMPARE(dialogs.shown.size(), 1);
            QCOMPARE(program.session().rows().size(), 0);
        }
        const QStringList kept = keptRuns(dir);
        QCOMPARE(kept.size(), 1);
        QVERIFY(!QFile::exists(journalPath(dir.path())));
        ChartData chart;
        RegisterStore rows;
        replayJournal(QDir(keptRunsFolder(journalPath(dir.path()))).filePath(kept.first()), chart, rows);
        QCOMPARE(rows.size(), qint64(before.rows.size()));
    }

    // At exit an unsaved run is asked about once: "Nie" goes back to the program, "Tak" closes
    // and keeps the run aside, and the next start asks nothing. A run whose register was saved
    // and chart exported closes without a question and leaves nothing behind.
    void exitAsksOnlyAboutUnsavedWork()
    {
        ScopedWorkDir dir;
        dir.write("config.ini", configText());
        {
            RecordingDialogs dialogs;
            Program program(dialogs);
            program.main().show();
            program.chart().SpeedButton15Click();
            sample(program, 10);
            program.main().close();
            QCOMPARE(dialogs.shown, QStringList{ExitQuestion});
            QVERIFY(program.main().isVisible());
            QVERIFY(QFile::exists(journalPath(dir.path())));
            dialogs.answers = {true};
            program.main().close();
            QCOMPARE(dialogs.shown.size(), 2);
            QVERIFY(!program.main().isVisible());
        }
        QVERIFY(!QFile::exists(journalPath(dir.path())));
        QCOMPARE(keptRuns(dir).size(), 1);

        RecordingDialogs dialogs;
        Program program(dialogs);
        QVERIFY(dialogs.shown.isEmpty());
        program.main().show();
        program.chart().SpeedButton15Click();
        sample(program, 10);
        dialogs.files = {ChosenFile{dir.path() + QStringLiteral("/rows.txt"), 0},
                         ChosenFile{dir.path() + QStringLiteral("/points.xls"), 0}};
        program.registerPage().BitBtn1Click();
        program.chart().findChild<QPushButton *>(QStringLiteral("BitBtn11"))->click();
        QVERIFY(runUntil([&] { return !program.session().unsavedWork(); }, 10000));
        program.main().close();
        QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.shown.join('\n')));
        QVERIFY(!program.main().isVisible());
        QVERIFY(!QFile::exists(journalPath(dir.path())));
        QCOMPARE(keptRuns(dir).size(), 1);
    }

    // Recovered, then the record button: the chart clears as always, and the run is in the
    // list of kept runs and reopens with every point and row, its time going on from its end.
    // A file there that is not a run is listed as unreadable and cannot be chosen.
    void recordAfterRecoveryThenReopen()
    {
        ScopedWorkDir dir;
        dir.write("config.ini", configText());
        const Recorded before = crashedRun(300);
        QDir().mkpath(keptRunsFolder(journalPath(dir.path())));
        dir.write("pomiary/notatki.txt", "nie pomiary");
        RecordingDialogs dialogs;
        dialogs.answers = {true};
        Program program(dialogs);
        compare(recorded(program), before);
        program.chart().SpeedButton15Click();
        QCOMPARE(program.session().chart().longestSeries(), std::size_t(0));
        QCOMPARE(program.session().rows().size(), qint64(300));

        KeptRunOpening &opening = program.keptRuns();
        program.main().otworzPrzebieg1Click();
        QVERIFY(runUntil([&] { return opening.listWindow() != nullptr; }, 10000));
        QTreeWidget *list = opening.listWindow()->list();
        QCOMPARE(list->topLevelItemCount(), 2);
        QTreeWidgetItem *run = list->findItems(QStringLiteral("300"), Qt::MatchExactly, 2).value(0);
        QVERIFY(run);
        QCOMPARE(run->text(3), QStringLiteral("300"));
        QTreeWidgetItem *notes = list->topLevelItem(list->indexOfTopLevelItem(run) == 0 ? 1 : 0);
        QCOMPARE(notes->text(0), QStringLiteral("notatki.txt"));
        QCOMPARE(notes->text(5), QStringLiteral("nieczytelny: nie jest to zapis pomiarów"));
        QCOMPARE(notes->flags(), Qt::NoItemFlags);
        list->setCurrentItem(run);
        opening.listWindow()->openButton()->click();
        QVERIFY(runUntil([&] { return program.session().chart().longestSeries() > 0; }, 10000));
        compare(recorded(program), before);
        QCOMPARE(program.link().acquisitionTime(), 0.01 * 299);
        // The run it replaced, the register's rows after the record button, was kept aside.
        QCOMPARE(keptRuns(dir).size(), 1);
        QVERIFY(QFile::exists(journalPath(dir.path())));
    }

    // Killed with SIGKILL while sampling continuously with every sample registered: the
    // register comes back with every row registered up to a second before the kill, in order.
    void killedWhileSampling()
    {
        ScopedWorkDir dir;
        QProcess victim;
        std::vector<double> printed;
        std::vector<qint64> arrived;
        QElapsedTimer clock;
        clock.start();
        auto readLines = [&] {
            while (victim.canReadLine()) {
                printed.push_back(victim.readLine().trimmed().toDouble());
                arrived.push_back(clock.elapsed());
            }
        };
        connect(&victim, &QProcess::readyReadStandardOutput, this, readLines);
        victim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        victim.start(QStringLiteral(KX_JOURNAL_VICTIM), {dir.path()});
        QVERIFY2(runUntil([&] { return printed.size() >= 300; }, 30000), "the program did not sample");
        runFor(2000);
        const qint64 killedAt = clock.elapsed();
        victim.kill();
        QVERIFY(victim.waitForFinished(5000));
        readLines();
        const auto due =
            std::count_if(arrived.begin(), arrived.end(), [&](qint64 at) { return at <= killedAt - 1000; });

        RecordingDialogs dialogs;
        dialogs.answers = {true};
        Program program(dialogs);
        QVERIFY(!dialogs.shown.isEmpty() && dialogs.shown.first().startsWith(Question));
        const RegisterStore &rows = program.session().rows();
        QVERIFY2(rows.size() >= due, qPrintable(QStringLiteral("%1 rows, %2 due").arg(rows.size()).arg(due)));
        QVERIFY(rows.size() <= qint64(printed.size()) + 1);
        for (qint64 i = 0; i < std::min(rows.size(), qint64(printed.size())); ++i)
            QCOMPARE(rows.at(i).measTime, printed[std::size_t(i)]);
    }

    // "Przerwij" while a long journal is read at start: nothing is asked or rebuilt, and the
    // journal is kept aside under the run's start, not read again.
    void readingStoppedKeepsTheJournalAside()
    {
        ScopedWorkDir dir;
        dir.write("config.ini", configText());
        {
            QString error;
            auto sink = openJournalFile(journalPath(dir.path()), JournalOpen::New, &error);
            QVERIFY2(sink, qPrintable(error));
            const auto header =
                JournalFormat::encodeHeader(QDateTime(QDate(2026, 12, 1), QTime(8, 30), Qt::UTC).toMSecsSinceEpoch());
            sink->write(header.data(), header.size());
            RegisterRow row;
            std::vector<unsigned char> batch;
            for (int i = 0; i < 3000000; ++i) {
                row.measTime = i * 0.005;
                const auto bytes = JournalFormat::encode(JournalRecord::registerRow(row));
                batch.insert(batch.end(), bytes.begin(), bytes.end());
            }
            sink->write(batch.data(), batch.size());
        }
        RecordingDialogs dialogs;
        QTimer stopper;
        stopper.setInterval(20);
        connect(&stopper, &QTimer::timeout, this, [&] {
            // Before its window shows, too: a fast disk reads the journal in less than that.
            for (QWidget *window : QApplication::topLevelWidgets())
                if (auto *stop = window->findChild<QPushButton *>(); stop && stop->text() == QStringLiteral("Przerwij"))
                    stop->click();
        });
        stopper.start();
        Program program(dialogs);
        stopper.stop();
        QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.shown.join('\n')));
        QCOMPARE(program.session().rows().size(), 0);
        QVERIFY(!QFile::exists(journalPath(dir.path())));
        QCOMPARE(keptRuns(dir), QStringList{QStringLiteral("journal-2026-12-01_08-30-00.kxj")});
    }

    // The disk fills up during sampling: one message, and sampling and registering go on.
    void fullDiskDuringSampling()
    {
        SimulatedRun run;
        Program &program = *run.program;
        RecordingDialogs &dialogs = run.dialogs;
        // Every write to the journal now fails as on a full disk.
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), journalPath(run.dir.path())));
        QVERIFY(startContinuousSampling(program));
        auto journalMessages = [&] {
            return dialogs.shown.filter(QStringLiteral("Zabezpieczanie pomiarów na wypadek awarii")).size();
        };
        QVERIFY(runUntil([&] { return journalMessages() > 0; }, 5000));
        const qint64 rowsAtMessage = program.session().rows().size();
        runFor(1000);
        QCOMPARE(journalMessages(), 1);
        QVERIFY(dialogs.shown.first().contains(QStringLiteral("No space left on device")));
        QVERIFY(program.session().rows().size() > rowsAtMessage + 50);
        // Nothing can be kept aside now, and the exit question does not promise it.
        program.main().close();
        QVERIFY(dialogs.shown.last().startsWith(
            QStringLiteral("?Pomiary nie zostały zapisane, a zabezpieczanie pomiarów jest wyłączone")));
    }
};

QTEST_MAIN(TestJournalRecovery)
#include "tst_journalrecovery.moc"

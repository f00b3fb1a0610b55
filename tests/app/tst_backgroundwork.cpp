#include "ChartExport.h"
#include "ChartPage.h"
#include "ContinuousSampling.h"
#include "CsvExport.h"
#include "MeasurementSession.h"
#include "RegisterPage.h"
#include "SamplePoints.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kPreloaded = 1500000;

/// A run as long as a few hours: the files it makes take a while to write.
void preload(MeasurementSession &session)
{
    ChartData chart;
    RegisterStore rows;
    ChartSample point;
    point.active[0] = point.active[1] = point.active[2] = true;
    RegisterRow row;
    row.flags = RegisterRow::SampleNumber | RegisterRow::MeasTime | RegisterRow::Channel0 | RegisterRow::Reading0;
    for (int i = 0; i < kPreloaded; ++i) {
        point.measTime = row.measTime = i * 0.005;
        point.channelValue[0] = row.value[0] = float(i % 360);
        appendSamplePoints(chart, point);
        rows.append(row);
    }
    session.adopt(std::move(chart), std::move(rows), (kPreloaded - 1) * 0.005);
}

/// Sampling goes on, continuously, every sample registered, while `work` runs until `finished`.
struct SamplingAround {
    qint64 decoded = 0;
    double ratePerSecond = 0; ///< registrations per second while the work ran
    double rateBefore = 0;    ///< and in the second before it
    qint64 registeredDuring = 0;
    qint64 decodedDuring = 0;

    /// Every sample registered, at no less than half the pace before: the work never held it.
    bool keptPace() const
    {
        return registeredDuring == decodedDuring && registeredDuring > 10 && ratePerSecond > 0.5 * rateBefore;
    }
    QString report() const
    {
        return QStringLiteral("%1 of %2 samples registered during the work, %3/s against %4/s before")
            .arg(registeredDuring)
            .arg(decodedDuring)
            .arg(ratePerSecond)
            .arg(rateBefore);
    }
};

SamplingAround sampleAround(Program &program, const std::function<void()> &work, const std::function<bool()> &finished)
{
    SamplingAround s;
    QObject::connect(&program.link(), &DeviceLink::sampleDecoded, &program.link(), [&s] { ++s.decoded; });
    runFor(300);
    const qint64 rowsAtStart = program.session().rows().size();
    runFor(1000);
    s.rateBefore = double(program.session().rows().size() - rowsAtStart);
    const qint64 rows = program.session().rows().size();
    const qint64 decoded = s.decoded;
    QElapsedTimer clock;
    clock.start();
    work();
    runUntil(finished, 60000);
    const double seconds = clock.elapsed() / 1000.0;
    s.registeredDuring = program.session().rows().size() - rows;
    s.decodedDuring = s.decoded - decoded;
    s.ratePerSecond = double(s.registeredDuring) / seconds;
    return s;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBackgroundWork : public QObject {
    Q_OBJECT

private slots:
    // A long save used to stop sampling for as long as it took.
    void samplingGoesOnDuringASave()
    {
        SimulatedRun run;
        Program &program = *run.program;
        preload(program.session());
        QVERIFY(startContinuousSampling(program));
        RegisterPage &page = program.registerPage();
        page.findChild<QCheckBox *>(QStringLiteral("CheckBox16"))->setChecked(true);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pomiary.txt"));
        qint64 snapshot = 0;
        const SamplingAround s = sampleAround(
            program,
            [&] {
                snapshot = program.session().rows().size();
                run.dialogs.files = {ChosenFile{path, 0}};
                page.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
                QVERIFY(page.saving());
            },
            [&] { return !page.saving(); });
        QVERIFY2(run.dialogs.shown.isEmpty(), qPrintable(run.dialogs.shown.join('\n')));
        // The file holds the table as it was at the click; every sample meanwhile was registered.
        QVERIFY(contents(path).contains("Ilosc pr\xf3"
                                        "bek= \t\t" +
                                        QByteArray::number(snapshot) + "\r\n"));
        QVERIFY2(s.keptPace(), qPrintable(s.report()));
    }

    void samplingGoesOnDuringAnExport()
    {
        SimulatedRun run;
        Program &program = *run.program;
        preload(program.session());
        QVERIFY(startContinuousSampling(program));
        program.chart().SpeedButton16Click(); // recording goes on without clearing the run
        program.registerPage().findChild<QCheckBox *>(QStringLiteral("CheckBox16"))->setChecked(true);
        auto *exporter = program.chart().findChild<ChartExport *>();
        QVERIFY(exporter);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wykres.csv"));
        std::size_t points = 0;
        const SamplingAround s = sampleAround(
            program,
            [&] {
                points = program.session().chart().longestSeries();
                exporter->exportPoints(path, &saveCsv);
                QVERIFY(exporter->exporting());
            },
            [&] { return !exporter->exporting(); });
        QVERIFY2(run.dialogs.shown.isEmpty(), qPrintable(run.dialogs.shown.join('\n')));
        QCOMPARE(contents(path).count('\n'), qsizetype(points) + 1);
        QVERIFY(program.session().chart().longestSeries() > points); // recorded meanwhile
        QVERIFY2(s.keptPace(), qPrintable(s.report()));
    }
};

QTEST_MAIN(TestBackgroundWork)
#include "tst_backgroundwork.moc"

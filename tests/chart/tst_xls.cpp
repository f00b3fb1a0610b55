#include "ChartData.h"
#include "CsvExport.h"
#include "SamplePoints.h"
#include "SpreadsheetExport.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {
const QString DataDir = QStringLiteral(KX_SOURCE_DIR "/tests/data/chart/");
const QString SystemPython = QStringLiteral("/usr/bin/python3");

using Fixture = std::function<void(ChartData &)>;

// Three samples of the program at 20 Hz, sensor 1 switched on from the second one.
void usualSamples(ChartData &chart)
{
    const float values[3][3] = {{12.5f, 200.25f, 359.75f}, {13.0f, 201.0f, 0.5f}, {13.5f, 202.0f, 1.0f}};
    const std::uint8_t pk[3][2] = {{0, 1}, {1, 1}, {1, 0}};
    for (int s = 0; s < 3; ++s) {
        ChartSample sample;
        sample.measTime = s * 0.05;
        for (int i = 0; i < 3; ++i) {
            sample.channelValue[i] = values[s][i];
            sample.active[i] = i != 1 || s > 0;
        }
        sample.pk1State = pk[s][0];
        sample.pk2State = pk[s][1];
        sample.H1 = 50;
        sample.H2 = 50;
        sample.F2 = 75;
        appendSamplePoints(chart, sample);
    }
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fillSeries(ChartData &chart, int points)
{
    for (int i = 0; i < points; ++i)
        chart.series(0).add(i * 0.005, (i % 3600) * 0.1);
}

bool xlrdAvailable()
{
    QProcess probe;
    probe.start(SystemPython, {"-c", "import xlrd"});
    return probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}
} // namespace

class TestXls : public QObject {
    Q_OBJECT

private slots:
    void matchesGoldenFile_data()
    {
        QTest::addColumn<Fixture>("fixture");
        QTest::newRow("empty") << Fixture([](ChartData &) {});
        QTest::newRow("positions") << Fixture([](ChartData &chart) {
            for (const auto &[x, y] : {std::pair{0.0, 10.0}, {1.0, 20.5}, {2.0, 30.0}})
                chart.series(0).add(x, y);
            chart.series(3).add(0, 0);
            chart.series(3).add(1, 50);
        });
        QTest::newRow("samples") << Fixture(usualSamples);
        // Only PK2 has points, and they carry white on an orange line.
        QTest::newRow("colours") << Fixture([](ChartData &chart) {
            chart.series(4).add(0, 75);
            chart.series(4).add(0.5, 125);
        });
    }
    void matchesGoldenFile()
    {
        QFETCH(Fixture, fixture);
        ChartData chart;
        fixture(chart);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.xls");
        const SaveResult result = saveSpreadsheet(chart, path);
        QVERIFY2(result.ok, qPrintable(result.reason));
        const QByteArray expected = readFile(DataDir + QTest::currentDataTag() + ".xls");
        QVERIFY(!expected.isEmpty());
        QCOMPARE(readFile(path), expected);
    }

    void refusesMoreRowsThanTheSheetHolds()
    {
        ChartData chart;
        fillSeries(chart, int(SpreadsheetMaxPoints));
        QTemporaryDir dir;
        const QString path = dir.filePath("big.xls");
        QVERIFY(saveSpreadsheet(chart, path).ok);
        const QByteArray full = readFile(path);
        QCOMPARE(full.mid(18, 2), QByteArray::fromHex("ffff")); // rows in the dimensions record
        // The last cell, PK2's empty Y, lies in row 65 534, column 10.
        QCOMPARE(full.right(11 + 4), QByteArray::fromHex("01000700feff0a00000000"
                                                         "0a000000"));

        chart.series(0).add(1e6, 1);
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("kept");
        previous.close();

        const SaveResult result = saveSpreadsheet(chart, path);
        QVERIFY(!result.ok);
        QVERIFY2(result.reason.contains("65 534") && result.reason.contains("CSV"), qPrintable(result.reason));
        QCOMPARE(readFile(path), QByteArray("kept"));

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString reason;
        QVERIFY(!writeSpreadsheet(chart, buffer, reason));
        QCOMPARE(buffer.size(), 0);

        // The CSV has no such limit.
        const SaveResult csv = saveCsv(chart, dir.filePath("big.csv"));
        QVERIFY2(csv.ok, qPrintable(csv.reason));
        QCOMPARE(readFile(dir.filePath("big.csv")).count("\r\n"), qsizetype(SpreadsheetMaxPoints) + 2);
    }

    void cancelledCsvLeavesTheOldFile()
    {
        ChartData chart;
        for (int i = 0; i < 10000; ++i)
            chart.series(0).add(i, i);
        QTemporaryDir dir;
        const QString path = dir.filePath("points.csv");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        qint64 reports = 0;
        const SaveResult result = saveCsv(chart, path, [&](qint64 done, qint64 total) {
            ++reports;
            return done < total / 2;
        });
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, QStringLiteral("eksport przerwano"));
        QCOMPARE(reports, 3);
        QCOMPARE(readFile(path), QByteArray("old"));
    }

    void anUnwritableFileLeavesNothing()
    {
        ChartData chart;
        usualSamples(chart);
        QTemporaryDir dir;
        const std::function<SaveResult(const ChartData &, const QString &)> saves[] = {
            saveSpreadsheet, [](const ChartData &c, const QString &path) { return saveCsv(c, path); }};
        for (const auto &save : saves) {
            const QString path = dir.filePath("no/such/folder/out");
            const SaveResult result = save(chart, path);
            QVERIFY(!result.ok);
            QVERIFY(!result.reason.isEmpty());
            QVERIFY(!QFile::exists(path));
        }
    }

    void readsBackWithAnIndependentReader_data()
    {
        QTest::addColumn<Fixture>("fixture");
        QTest::newRow("samples") << Fixture(usualSamples);
        // The reader stops at 16 384 rows for this layout, below what the writer allows.
        QTest::newRow("most rows the reader takes") << Fixture([](ChartData &chart) {
            fillSeries(chart, 16383);
            chart.series(3).add(0.0025, 16777217.0);
        });
    }
    void readsBackWithAnIndependentReader()
    {
        if (!xlrdAvailable())
            QSKIP("Python 3's xlrd module is missing (apt-get install python3-xlrd)");
        QFETCH(Fixture, fixture);
        ChartData chart;
        fixture(chart);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.xls");
        QVERIFY(saveSpreadsheet(chart, path).ok);

        QProcess reader;
        reader.start(SystemPython, {QStringLiteral(KX_SOURCE_DIR "/tests/chart/read_sheet.py"), path});
        QVERIFY(reader.waitForFinished(60000));
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
        const QList<QByteArray> lines = reader.readAllStandardOutput().split('\n');

        const std::size_t rows = chart.longestSeries() + 1;
        const QJsonArray size = QJsonDocument::fromJson(lines[0]).array();
        QCOMPARE(size[0].toInteger(), qint64(rows));
        QCOMPARE(size[1].toInteger(), qint64(11));
        QCOMPARE(lines.size(), qsizetype(1 + rows * 11 + 1));
        for (qsizetype l = 1; l + 1 < lines.size(); ++l) {
            const QJsonArray cell = QJsonDocument::fromJson(lines[l]).array();
            const auto row = std::size_t(cell[0].toInteger());
            const int column = cell[1].toInt();
            const QString kind = cell[2].toString();
            if (row == 0) {
                QCOMPARE(kind, QStringLiteral("text"));
                continue;
            }
            if (column == 0) {
                QCOMPARE(cell[3].toDouble(), double(row - 1));
                continue;
            }
            const PointSeries &series = chart.series((column - 1) / 2);
            if (row - 1 >= series.size()) {
                QCOMPARE(kind, QStringLiteral("empty"));
                continue;
            }
            QCOMPARE(kind, QStringLiteral("number"));
            const double expected = column % 2 == 1 ? series.x(row - 1) : series.y(row - 1);
            QCOMPARE(cell[3].toDouble(), expected);
        }
    }

    void writesCsvOfAllPoints()
    {
        ChartData chart;
        usualSamples(chart);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString reason;
        QVERIFY(writeCsv(chart, buffer, reason));
        QCOMPARE(buffer.data(), readFile(DataDir + "samples.csv"));
    }
};

QTEST_GUILESS_MAIN(TestXls)
#include "tst_xls.moc"

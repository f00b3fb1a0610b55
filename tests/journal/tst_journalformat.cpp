#include "JournalFixtures.h"
#include "JournalReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qint64 Start = 1'796'000'000'000;
constexpr int Records = 6;

QByteArray journalBytes(const std::vector<JournalRecord> &records)
{
    const auto header = JournalFormat::encodeHeader(Start);
    QByteArray bytes(reinterpret_cast<const char *>(header.data()), qsizetype(header.size()));
    for (const JournalRecord &r : records) {
        const auto encoded = JournalFormat::encode(r);
        bytes.append(reinterpret_cast<const char *>(encoded.data()), qsizetype(encoded.size()));
    }
    return bytes;
}

std::vector<JournalRecord> readAll(const QString &path, JournalScan *scan)
{
    std::vector<JournalRecord> got;
    *scan = readJournal(path, [&](const JournalRecord &r) { got.push_back(r); });
    return got;
}

} // namespace

class TestJournalFormat : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("journal.kxj"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
        return path;
    }

private slots:
    void everyFieldSurvivesEncoding()
    {
        for (const JournalRecord &r : sampleRun(44)) {
            const auto decoded = JournalFormat::decode(JournalFormat::encode(r).data());
            QVERIFY(decoded);
            compareRecords(*decoded, r);
        }
    }

    void cutTail_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("whole");
        const int header = int(JournalFormat::HeaderSize), size = int(JournalFormat::RecordSize);
        for (int length = header + (Records - 2) * size; length <= header + Records * size; ++length)
            QTest::addRow("%d bytes", length) << length << (length - header) / size;
    }
    // A journal cut anywhere in its last records gives back every whole record and no more;
    // cutting the tail leaves a journal that appends can follow.
    void cutTail()
    {
        QFETCH(int, length);
        QFETCH(int, whole);
        const auto run = sampleRun(Records);
        const QString path = write(journalBytes(run).left(length));

        JournalScan scan;
        const auto got = readAll(path, &scan);
        QVERIFY(scan.valid);
        QCOMPARE(int(got.size()), whole);
        for (int i = 0; i < whole; ++i)
            compareRecords(got[i], run[i]);
        QCOMPARE(scan.fileLength, qint64(length));
        QCOMPARE(scan.goodLength, qint64(JournalFormat::HeaderSize + whole * JournalFormat::RecordSize));

        QString error;
        QVERIFY2(cutJournalTail(path, scan, &error), qPrintable(error));
        JournalScan again;
        QCOMPARE(int(readAll(path, &again).size()), whole);
        QCOMPARE(again.fileLength, scan.goodLength);
    }

    void damagedByte_data()
    {
        QTest::addColumn<int>("offset");
        const int last = int(JournalFormat::HeaderSize + (Records - 1) * JournalFormat::RecordSize);
        for (int i = 0; i < int(JournalFormat::RecordSize); ++i)
            QTest::addRow("byte %d of the last record", i) << last + i;
    }
    // A garbled record (a torn sector, a bit flip) ends the trusted part there.
    void damagedByte()
    {
        QFETCH(int, offset);
        QByteArray bytes = journalBytes(sampleRun(Records));
        bytes[offset] = char(bytes[offset] ^ 0x10);
        JournalScan scan;
        QCOMPARE(int(readAll(write(bytes), &scan).size()), Records - 1);
        QVERIFY(scan.goodLength < scan.fileLength);
    }

    void summaryCountsWhatReplayWouldRebuild()
    {
        // Each clear forgets what its own side held before it, and nothing of the other side.
        const auto run = sampleRun(40);
        JournalScan scan;
        readAll(write(journalBytes(run)), &scan);
        quint64 points = 0, rows = 0;
        for (const JournalRecord &r : run) {
            points =
                r.type == JournalRecord::Type::ChartClear ? 0 : points + (r.type == JournalRecord::Type::ChartPoint);
            rows =
                r.type == JournalRecord::Type::RegisterClear ? 0 : rows + (r.type == JournalRecord::Type::RegisterRow);
        }
        QVERIFY(points > 0 && rows > 0);
        QCOMPARE(scan.summary.startLocalMs, Start);
        QCOMPARE(scan.summary.chartPoints, points);
        QCOMPARE(scan.summary.registerRows, rows);
    }

    // The run goes on from its last sample in the order taken, not from the largest time: rows
    // kept over a restart of the chart carry the older, larger times.
    void lastTimeIsTheLastSampleTaken()
    {
        RegisterRow row;
        row.measTime = 500;
        ChartSample point;
        point.measTime = 0.25;
        JournalScan scan;
        readAll(write(journalBytes({JournalRecord::registerRow(row), JournalRecord::chartPoint(point)})), &scan);
        QCOMPARE(scan.summary.lastTime, 0.25);
        point.measTime = 7.5;
        readAll(write(journalBytes({JournalRecord::chartPoint(point), JournalRecord::registerRow(row)})), &scan);
        QCOMPARE(scan.summary.lastTime, 500.0);
    }

    void notAJournal_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = journalBytes(sampleRun(2));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut") << good.left(int(JournalFormat::HeaderSize) - 1);
        QByteArray otherVersion = good;
        otherVersion[4] = 2;
        QTest::newRow("other version") << otherVersion;
        QByteArray otherMagic = good;
        otherMagic[0] = 'X';
        QTest::newRow("other magic") << otherMagic;
        QByteArray damagedStart = good;
        damagedStart[9] = char(damagedStart[9] ^ 1);
        QTest::newRow("damaged start time") << damagedStart;
    }
    void notAJournal()
    {
        QFETCH(QByteArray, bytes);
        JournalScan scan;
        QVERIFY(readAll(write(bytes), &scan).empty());
        QVERIFY(!scan.valid);
        QVERIFY(!scan.error.isEmpty());
        QString error;
        QVERIFY(!cutJournalTail(m_dir.filePath(QStringLiteral("journal.kxj")), scan, &error));
        QCOMPARE(QFile(m_dir.filePath(QStringLiteral("journal.kxj"))).size(), bytes.size());
    }
};

QTEST_GUILESS_MAIN(TestJournalFormat)
#include "tst_journalformat.moc"

#include "PadCell.h"
#include "RegisterFiles.h"
#include "RegisterFixtures.h"

#include <QBuffer>
#include <QLocale>
#include <QtTest>

class RegisterFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void padCell_data();
    void padCell();
    void files_data();
    void files();
    void progressCountsRowsAndCancels();
    void deviceFailureIsReported();
};

void RegisterFilesTest::padCell_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("cell");
    QTest::newRow("right-aligned") << 15 << QByteArray("1,500") << QByteArray("|       1,500 |");
    QTest::newRow("empty") << 8 << QByteArray() << QByteArray("|      |");
    QTest::newRow("exactly fits") << 8 << QByteArray("12345") << QByteArray("|12345 |");
    QTest::newRow("too long, widened not cut") << 8 << QByteArray("1234567") << QByteArray("|1234567 |");
}

void RegisterFilesTest::padCell()
{
    QFETCH(int, width);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, cell);
    QCOMPARE(PadCell(width, text), cell);
}

using Writer = RegisterWriteStatus (*)(QIODevice &, const RegisterStore &, const RegisterFileInfo &,
                                       const RegisterProgress &);

void RegisterFilesTest::files_data()
{
    QTest::addColumn<bool>("channel1Active");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("continuous");
    QTest::addColumn<bool>("channel1Shown");
    QTest::addColumn<QString>("goldenName");

    for (const char *ext : {".txt", ".xls"}) {
        auto row = [&](const char *name) -> QTestData & { return QTest::newRow(qPrintable(QString(name) + ext)); };
        row("three rows") << true << false << false << true << QString("three_rows") + ext;
        row("continuous sampling") << true << false << true << true << QString("continuous") + ext;
        row("channel 1 inactive and absent") << false << false << false << false << QString("channel1_left_out") + ext;
        // Absent at saving but registered with readings: nothing is dropped.
        row("channel 1 absent, readings kept") << true << false << false << false << QString("three_rows") + ext;
        row("empty table") << true << true << false << true << QString("empty") + ext;
    }
}

void RegisterFilesTest::files()
{
    QFETCH(bool, channel1Active);
    QFETCH(bool, empty);
    QFETCH(bool, continuous);
    QFETCH(bool, channel1Shown);
    QFETCH(QString, goldenName);

    const RegisterStore store = empty ? RegisterStore() : threeRows(channel1Active);
    RegisterFileInfo info = threeRowsInfo();
    if (empty) {
        info = RegisterFileInfo();
        info.periodMs = 250;
        info.now = threeRowsInfo().now;
    }
    info.continuous = continuous;
    info.channelShown[1] = channel1Shown;

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const Writer write = goldenName.endsWith(".txt") ? writeRegisterTxt : writeRegisterXls;
    QCOMPARE(write(out, store, info, {}), RegisterWriteStatus::Complete);
    QCOMPARE(out.data(), golden(goldenName));
}

void RegisterFilesTest::progressCountsRowsAndCancels()
{
    RegisterStore store;
    const RegisterStore three = threeRows();
    for (int i = 0; i < 70000; ++i)
        store.append(three.at(i % 3));

    QList<qint64> seen;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QCOMPARE(writeRegisterXls(out, store, threeRowsInfo(),
                              [&](qint64 done, qint64 total) {
                                  if (total != store.size())
                                      return false;
                                  seen << done;
                                  return true;
                              }),
             RegisterWriteStatus::Complete);
    QCOMPARE(seen, (QList<qint64>{0, 65536, 70000}));
    QCOMPARE(out.data().count("\r\n"), 10 + 70000);

    QBuffer cancelled;
    cancelled.open(QIODevice::WriteOnly);
    QCOMPARE(writeRegisterTxt(cancelled, store, threeRowsInfo(), [](qint64 done, qint64) { return done == 0; }),
             RegisterWriteStatus::Cancelled);
}

namespace {

// A device whose writes fail, as a full disk does.
class FullDevice : public QIODevice {
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

} // namespace

void RegisterFilesTest::deviceFailureIsReported()
{
    FullDevice out;
    out.open(QIODevice::WriteOnly);
    QCOMPARE(writeRegisterTxt(out, threeRows(), threeRowsInfo()), RegisterWriteStatus::DeviceFailed);
    QCOMPARE(writeRegisterXls(out, threeRows(), threeRowsInfo()), RegisterWriteStatus::DeviceFailed);
}

QTEST_GUILESS_MAIN(RegisterFilesTest)
#include "tst_registerfiles.moc"

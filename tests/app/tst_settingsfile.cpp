#include "SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <limits>

Q_DECLARE_METATYPE(Settings)

namespace {

struct Line {
    QByteArray key;
    QByteArray value;
};

// A complete file with a value on every line that tells it apart from its neighbours.
QList<Line> fixtureLines()
{
    return {
        {"Cz_0= ", "1"},
        {"Cz_1= ", "0"},
        {"Cz_2= ", "1"},
        {"Real_Time_Sample= ", "1"},
        {"Sample_rate= ", "250"},
        {"Paging= ", "1"},
        {"Paging_tracking= ", "0"},
        {"Sample_per_page= ", "40"},
        {"Autorejestracja= ", "0"},
        {"Rejestracja_Cz0= ", "1"},
        {"Rejestracja_Cz1= ", "0"},
        {"Rejestracja_Cz2= ", "1"},
        {"Rejestracja_PK1= ", "1"},
        {"Rejestracja_PK2= ", "0"},
        {"Rejestracja_data= ", "1"},
        {"Rejestracja_godz= ", "0"},
        {"Rejestracja_czas= ", "1"},
        {"Rejestracja_data= ", "1"},
        {"Rejestracja_index= ", "0"},
        {"Rejestracja_kolor= ", "1"},
        {"domyslny_port_com= ", "COM3"},
        {"Wykres_PK1_H= ", "11"},
        {"Wykres_PK1_F= ", "-12"},
        {"Wykres_PK2_H= ", "13"},
        {"Wykres_PK2_F= ", "-14"},
        {"Wykres_PK3_H= ", "15"},
        {"Wykres_PK3_F= ", "-16"},
        {"Wykres_PK4_H= ", "17"},
        {"Wykres_PK4_F= ", "-18"},
    };
}

Settings fixtureSettings()
{
    Settings s;
    s.channelActive = {true, false, true};
    s.sampling = {true, 250};
    s.paging = {true, false, int16_t(40)};
    s.registration.autoRegister = false;
    s.registration.channel = {true, false, true};
    s.registration.pk1 = true;
    s.registration.pk2 = false;
    s.registration.date = true;
    s.registration.timeOfDay = false;
    s.registration.measurementTime = true;
    s.registration.index = false;
    s.registration.colour = true;
    s.portName = "COM3";
    s.pkLineH = {11, 13, 15, 17};
    s.pkLineF = {-12, -14, -16, -18};
    return s;
}

QByteArray join(const QList<Line> &lines, const QByteArray &end = "\r\n")
{
    QByteArray out;
    for (const Line &line : lines)
        out += line.key + line.value + end;
    return out;
}

QByteArray fixtureWith(int lineNumber, const QByteArray &value)
{
    QList<Line> lines = fixtureLines();
    lines[lineNumber - 1].value = value;
    return join(lines);
}

QByteArray fixtureCutAfter(int lineCount)
{
    return join(fixtureLines().first(lineCount));
}

// The settings of the fixture once reading has failed after `lastRead`: every later
// number repeats that line's number, and the port is lost when it came later.
Settings fixtureFailingAfter(int lastRead)
{
    QList<Line> lines = fixtureLines();
    for (int n = lastRead + 1; n <= lines.size(); ++n)
        if (n != 21)
            lines[n - 1].value = lines[lastRead - 1].value;
    Settings expected = readSettings(join(lines));
    if (lastRead < 21)
        expected.portName.clear();
    return expected;
}

QByteArray describe(const Settings &s)
{
    return writeSettings(s).replace("\r\n", " | ") + " port \"" + s.portName.toUtf8() + '"';
}

void compareSettings(const Settings &actual, const Settings &expected)
{
    QVERIFY2(actual == expected,
             ("\n   actual: " + describe(actual) + "\n expected: " + describe(expected)).constData());
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsEveryLineByPosition();
    void writesTheExactLayout();
    void writesTheShippedFileUnchanged();
    void roundTrip_data();
    void roundTrip();
    void appliesLineValue_data();
    void appliesLineValue();
    void keysAreNeverCompared_data();
    void keysAreNeverCompared();
    void failedReadRepeatsTheLastNumber_data();
    void failedReadRepeatsTheLastNumber();
    void nothingReadLeavesEverythingUnset_data();
    void nothingReadLeavesEverythingUnset();
    void portThatWouldNotReadBackIsWrittenAsCom1_data();
    void portThatWouldNotReadBackIsWrittenAsCom1();
    void saveReplacesTheFile();
    void failedSaveSaysWhyAndLeavesNoFile();
};

void SettingsFileTest::readsEveryLineByPosition()
{
    compareSettings(readSettings(join(fixtureLines())), fixtureSettings());
}

void SettingsFileTest::writesTheExactLayout()
{
    QCOMPARE(writeSettings(fixtureSettings()), join(fixtureLines()));
}

void SettingsFileTest::writesTheShippedFileUnchanged()
{
    QFile shipped(KX_SOURCE_DIR "/data/config.ini");
    QVERIFY2(shipped.open(QIODevice::ReadOnly), qPrintable(shipped.errorString()));
    const QByteArray bytes = shipped.readAll();
    QCOMPARE(writeSettings(readSettings(bytes)), bytes);
}

void SettingsFileTest::roundTrip_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::newRow("fixture") << fixtureSettings();

    Settings extremes;
    extremes.channelActive = {false, true, false};
    extremes.sampling = {false, Settings::kMaxPeriodMs};
    extremes.paging = {false, true, std::numeric_limits<int16_t>::min()};
    extremes.registration = {true, {{false, true, false}}, false, true, false, true, false, true, false};
    extremes.portName = QString::fromUtf8("pts/ż");
    extremes.pkLineH = {std::numeric_limits<int32_t>::min(), 0, 1, std::numeric_limits<int32_t>::max()};
    extremes.pkLineF = {std::numeric_limits<int32_t>::max(), -1, 0, std::numeric_limits<int32_t>::min()};
    QTest::newRow("every value flipped, extremes, Polish port") << extremes;

    Settings lowest = fixtureSettings();
    lowest.sampling.periodMs = Settings::kMinPeriodMs;
    lowest.paging.pointsPerPage = std::numeric_limits<int16_t>::max();
    lowest.portName = "ttyUSB0";
    QTest::newRow("shortest period, largest page") << lowest;
}

void SettingsFileTest::roundTrip()
{
    QFETCH(Settings, settings);
    compareSettings(readSettings(writeSettings(settings)), settings);
}

void SettingsFileTest::appliesLineValue_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<Settings>("expected");

    const auto expect = [](const std::function<void(Settings &)> &change) {
        Settings s = fixtureSettings();
        change(s);
        return s;
    };
    QTest::newRow("line 18 clears the box line 17 set")
        << 18 << QByteArray("0") << expect([](Settings &s) { s.registration.measurementTime = false; });
    QTest::newRow("line 18 sets the box line 17 cleared")
        << 17 << QByteArray("0") << expect([](Settings &s) { s.registration.measurementTime = true; });
    QTest::newRow("any number but 0 checks")
        << 2 << QByteArray("-7") << expect([](Settings &s) { s.channelActive[1] = true; });
    QTest::newRow("period below the range")
        << 5 << QByteArray("5") << expect([](Settings &s) { s.sampling.periodMs = 10; });
    QTest::newRow("negative period") << 5 << QByteArray("-300")
                                     << expect([](Settings &s) { s.sampling.periodMs = 10; });
    QTest::newRow("period above the range")
        << 5 << QByteArray("20000000") << expect([](Settings &s) { s.sampling.periodMs = 10000000; });
    QTest::newRow("per page past 16 bits")
        << 8 << QByteArray("65546") << expect([](Settings &s) { s.paging.pointsPerPage = int16_t(10); });
    QTest::newRow("per page as signed 16 bits")
        << 8 << QByteArray("40000") << expect([](Settings &s) { s.paging.pointsPerPage = int16_t(-25536); });
    QTest::newRow("another port") << 21 << QByteArray("COM7") << expect([](Settings &s) { s.portName = "COM7"; });
    QTest::newRow("port in Windows-1250")
        << 21 << QByteArray("KAMERA\xca") << expect([](Settings &s) { s.portName = QString::fromUtf8("KAMERAĘ"); });
}

void SettingsFileTest::appliesLineValue()
{
    QFETCH(int, line);
    QFETCH(QByteArray, value);
    QFETCH(Settings, expected);
    compareSettings(readSettings(fixtureWith(line, value)), expected);
}

void SettingsFileTest::keysAreNeverCompared_data()
{
    QTest::addColumn<QByteArray>("file");

    QList<Line> misspelt = fixtureLines();
    for (Line &line : misspelt)
        line.key.replace('a', 'o').replace('_', "");
    QTest::newRow("misspelt keys") << join(misspelt);

    QList<Line> anyWord = fixtureLines();
    for (Line &line : anyWord)
        line.key = "\xb9\xe6 ";
    QTest::newRow("any word as key") << join(anyWord);

    QList<Line> spacing = fixtureLines();
    for (Line &line : spacing)
        line.key.replace(' ', "\t  ");
    QTest::newRow("tabs and blanks, LF line ends") << join(spacing, "\n");
}

void SettingsFileTest::keysAreNeverCompared()
{
    QFETCH(QByteArray, file);
    compareSettings(readSettings(file), fixtureSettings());
}

void SettingsFileTest::failedReadRepeatsTheLastNumber_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("lastRead");

    QTest::newRow("cut after line 10") << fixtureCutAfter(10) << 10;
    QTest::newRow("cut after the key of line 11") << fixtureCutAfter(10) + "Rejestracja_Cz1= " << 10;
    QTest::newRow("not a number on line 12") << fixtureWith(12, "tak") << 11;
    QTest::newRow("number running into a word on line 5") << fixtureWith(5, "250ms") << 5;
    QTest::newRow("key without its blank on line 6") << fixtureWith(6, "").replace("Paging= ", "Paging=1") << 5;
    QTest::newRow("port line without its port") << fixtureCutAfter(20) + "domyslny_port_com= \r\n" << 20;
    QTest::newRow("number too large on line 24") << fixtureWith(24, "99999999999") << 23;
    QTest::newRow("thirty digits on line 24") << fixtureWith(24, QByteArray(30, '9')) << 23;
}

void SettingsFileTest::failedReadRepeatsTheLastNumber()
{
    QFETCH(QByteArray, file);
    QFETCH(int, lastRead);
    compareSettings(readSettings(file), fixtureFailingAfter(lastRead));
}

void SettingsFileTest::nothingReadLeavesEverythingUnset_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("key without its blank on line 1") << fixtureWith(1, "").replace("Cz_0= ", "Cz_0=1");
    QTest::newRow("first value not a number") << fixtureWith(1, "x");
}

void SettingsFileTest::nothingReadLeavesEverythingUnset()
{
    QFETCH(QByteArray, file);
    compareSettings(readSettings(file), Settings{});
}

void SettingsFileTest::portThatWouldNotReadBackIsWrittenAsCom1_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("written");
    QTest::newRow("empty") << QString() << QString("COM1");
    QTest::newRow("blank inside") << QString("COM 7") << QString("COM1");
    QTest::newRow("only a tab") << QString("\t") << QString("COM1");
    QTest::newRow("device name") << QString("ttyACM0") << QString("ttyACM0");
}

void SettingsFileTest::portThatWouldNotReadBackIsWrittenAsCom1()
{
    QFETCH(QString, port);
    QFETCH(QString, written);
    Settings settings = fixtureSettings();
    settings.portName = port;
    const QByteArray bytes = writeSettings(settings);
    QVERIFY2(bytes.contains("\r\ndomyslny_port_com= " + written.toLatin1() + "\r\n"), bytes.constData());

    settings.portName = written;
    compareSettings(readSettings(bytes), settings); // nothing after the port shifted
    QCOMPARE(portNameOrDefault(port), written);
}

void SettingsFileTest::saveReplacesTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("config.ini");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4000, 'x'));
    old.close();

    const SaveResult result = saveSettings(path, fixtureSettings());
    QVERIFY2(result.ok, qPrintable(result.reason));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), join(fixtureLines()));
}

void SettingsFileTest::failedSaveSaysWhyAndLeavesNoFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("missing/config.ini");

    const SaveResult result = saveSettings(path, fixtureSettings());
    QVERIFY(!result.ok);
    QVERIFY(!result.reason.isEmpty());
    QVERIFY(!QFile::exists(path));
}

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"

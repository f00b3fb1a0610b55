#include "SettingsFile.h"

#include <QtTest>

namespace {

QByteArray lines(std::initializer_list<const char *> texts)
{
    QByteArray out;
    for (const char *text : texts)
        out += QByteArray(text) + "\r\n";
    return out;
}

QByteArray fullFile(const char *port = "COM7")
{
    QByteArray out;
    for (int line = 1; line <= 29; ++line)
        out += line == 21 ? QByteArray("domyslny_port_com= ") + port + "\r\n"
                          : "Key" + QByteArray::number(line) + "= " + QByteArray::number(line * 10) + "\r\n";
    return out;
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsByPosition();
    void cutFileRepeatsTheLastNumber();
    void badFirstNumberLeavesDefaults();
    void keyWithoutBlankShiftsTheValues();
};

void SettingsFileTest::readsByPosition()
{
    const ConfigValues values = readConfigValues(fullFile());
    QCOMPARE(values.port, QString("COM7"));
    QCOMPARE(values.number[1].value_or(-1), 10);
    QCOMPARE(values.number[20].value_or(-1), 200);
    QVERIFY(!values.number[21]);
    QCOMPARE(values.number[29].value_or(-1), 290);
}

void SettingsFileTest::cutFileRepeatsTheLastNumber()
{
    const ConfigValues values = readConfigValues(fullFile().left(fullFile().indexOf("Key11")));
    QCOMPARE(values.number[10].value_or(-1), 100);
    QCOMPARE(values.number[11].value_or(-1), 100);
    QCOMPARE(values.number[29].value_or(-1), 100);
    QCOMPARE(values.port, QString());
}

void SettingsFileTest::badFirstNumberLeavesDefaults()
{
    const ConfigValues values = readConfigValues(lines({"Cz_0= x", "Cz_1= 1"}));
    QVERIFY(!values.number[1]);
    QVERIFY(!values.number[29]);
    QCOMPARE(values.port, QString());
}

void SettingsFileTest::keyWithoutBlankShiftsTheValues()
{
    const ConfigValues values = readConfigValues(lines({"Cz_0=1", "Cz_1= 1", "Cz_2= 0"}));
    QVERIFY(!values.number[1]); // "Cz_1=" read as the first number fails
    QCOMPARE(values.port, QString());
}

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"

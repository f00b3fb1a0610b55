#include "NumberFormat.h"

#include <QLocale>
#include <QtTest>
#include <limits>

class NumberFormatTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void roundDecimal_data();
    void roundDecimal();
    void formatGeneral_data();
    void formatGeneral();
    void formatGeneralFollowsTheLocale();
    void decimalComma();
};

void NumberFormatTest::roundDecimal_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("digit");
    QTest::addColumn<double>("expected");
    QTest::newRow("thousandths") << 12.34567 << -3 << 12.346;
    QTest::newRow("half to even, down") << 0.0125 << -2 << 0.01;
    QTest::newRow("half to even, up") << 0.0375 << -2 << 0.04;
    QTest::newRow("whole half down") << 2.5 << 0 << 2.0;
    QTest::newRow("whole half up") << 3.5 << 0 << 4.0;
    QTest::newRow("negative") << -1.2345 << -3 << -1.234;
    QTest::newRow("hundreds") << 1250.0 << 2 << 1200.0;
}

void NumberFormatTest::roundDecimal()
{
    QFETCH(double, x);
    QFETCH(int, digit);
    QFETCH(double, expected);
    QCOMPARE(RoundDecimal(x, digit), expected);
}

void NumberFormatTest::formatGeneral_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("whole") << 1.0 << "1";
    QTest::newRow("fraction") << 12.346 << "12,346";
    QTest::newRow("float tail rounded away") << RoundDecimal(12.346f, -3) << "12,346";
    QTest::newRow("float unrounded") << double(12.346f) << "12,3459997177124";
    QTest::newRow("negative") << -0.5 << "-0,5";
    QTest::newRow("smallest fixed") << 0.00001 << "0,00001";
    QTest::newRow("exponent below") << 0.000001 << "1E-6";
    QTest::newRow("exponent with fraction") << 0.0000015 << "1,5E-6";
    QTest::newRow("15 integer digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 integer digits") << 1234567890123456.0 << "1,23456789012346E15";
    QTest::newRow("hundredths") << RoundDecimal(123.456, -2) << "123,46";
    QTest::newRow("trailing zeros of a whole") << 1200.0 << "1200";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "NAN";
    QTest::newRow("infinite") << -std::numeric_limits<double>::infinity() << "-INF";
}

void NumberFormatTest::formatGeneral()
{
    QFETCH(double, x);
    QFETCH(QString, text);
    QCOMPARE(FormatGeneral(x), text);
}

void NumberFormatTest::formatGeneralFollowsTheLocale()
{
    QLocale::setDefault(QLocale::c());
    QCOMPARE(FormatGeneral(2.5), QString("2.5"));
}

void NumberFormatTest::decimalComma()
{
    QCOMPARE(DecimalComma("1.5 2.25"), QString("1,5 2,25"));
    QCOMPARE(DecimalComma("abc"), QString("abc"));
}

QTEST_APPLESS_MAIN(NumberFormatTest)
#include "tst_numberformat.moc"

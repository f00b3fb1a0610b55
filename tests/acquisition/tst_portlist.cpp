#include "PortList.h"

#include <QtTest>

Q_DECLARE_METATYPE(PresentPort)

namespace {

PortEnumerator fixedPorts(const QList<PresentPort> &ports)
{
    return [ports] { return ports; };
}

QStringList namesOf(const QList<PortEntry> &entries)
{
    QStringList names;
    for (const PortEntry &entry : entries)
        names << entry.name;
    return names;
}

} // namespace

class PortListTest : public QObject {
    Q_OBJECT

private slots:
    void presentPortIsShownWithWhatItIs_data();
    void presentPortIsShownWithWhatItIs();
    void wizardListDescribesPresentPortsAndKeepsNamesBare();
};

void PortListTest::presentPortIsShownWithWhatItIs_data()
{
    QTest::addColumn<PresentPort>("port");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("displayText");

    QTest::newRow("USB adapter") << PresentPort{"ttyUSB0", "CP2102 USB to UART Bridge Controller", "Silicon Labs",
                                                "0001"}
                                 << "ttyUSB0"
                                 << "ttyUSB0 – CP2102 USB to UART Bridge Controller, Silicon Labs, nr seryjny 0001";
    QTest::newRow("built-in port, nothing known") << PresentPort{"ttyS0", "", "", ""} << "COM1"
                                                  << "COM1";
    QTest::newRow("maker only") << PresentPort{"ttyS4", " ", "Intel", ""} << "COM5"
                                << "COM5 – Intel";
    QTest::newRow("serial number only") << PresentPort{"ttyACM0", "", "", "A5X"} << "ttyACM0"
                                        << "ttyACM0 – nr seryjny A5X";
    QTest::newRow("longest name the port holds") << PresentPort{"ttyUSB123", "", "", ""} << "ttyUSB123"
                                                 << "ttyUSB123";
    QTest::newRow("longer than the port holds")
        << PresentPort{"ttyUSB1234", "FT232R", "FTDI", "X"} << QString() << QString();
    // "COM1000" would be opened as /dev/COM1000, not as this device.
    QTest::newRow("ttyS beyond COM999") << PresentPort{"ttyS999", "", "", ""} << "ttyS999"
                                        << "ttyS999";
    QTest::newRow("ttyS with a leading zero") << PresentPort{"ttyS01", "", "", ""} << "ttyS01"
                                              << "ttyS01";
    QTest::newRow("other ttyS family") << PresentPort{"ttySAC0", "", "", ""} << "ttySAC0"
                                       << "ttySAC0";
}

void PortListTest::presentPortIsShownWithWhatItIs()
{
    QFETCH(PresentPort, port);
    QFETCH(QString, name);
    QFETCH(QString, displayText);

    const QList<PortEntry> entries = PortList::presentPorts(fixedPorts({port}));
    if (name.isEmpty()) {
        QVERIFY(entries.isEmpty());
        return;
    }
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].name, name);
    QCOMPARE(entries[0].displayText, displayText);
    QVERIFY(entries[0].present);
}

void PortListTest::wizardListDescribesPresentPortsAndKeepsNamesBare()
{
    const QList<PortEntry> entries = PortList::wizardEntries(fixedPorts({
        {"ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI"},
        {"ttyS2", "16550A", "", ""},
        {"ttyUSB0123456789", "CH340", "QinHeng", ""},
        {"ttyACM0", "", "", ""},
    }));

    QStringList expected;
    for (int number = 1; number <= 16; ++number)
        expected << QStringLiteral("COM%1").arg(number);
    expected << "ttyUSB0"
             << "ttyACM0";
    QCOMPARE(namesOf(entries), expected);

    QCOMPARE(entries[2].displayText, QStringLiteral("COM3 – 16550A"));
    QVERIFY(entries[2].present);
    QCOMPARE(entries[0].displayText, QStringLiteral("COM1"));
    QVERIFY(!entries[0].present);
    QCOMPARE(entries[16].displayText, QStringLiteral("ttyUSB0 – FT232R USB UART, FTDI, nr seryjny A50285BI"));
}

QTEST_GUILESS_MAIN(PortListTest)
#include "tst_portlist.moc"

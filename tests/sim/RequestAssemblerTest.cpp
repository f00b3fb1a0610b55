#include "RequestAssembler.h"
#include "HexBytes.h"

#include <QtTest>

class RequestAssemblerTest : public QObject {
    Q_OBJECT

private slots:
    void framesFromTheStream_data()
    {
        QTest::addColumn<QStringList>("chunks");
        QTest::addColumn<QStringList>("frames");
        const QString led = "F1 F1 0C 00 00 00 00 0C";
        const QString onTime = "F2 F2 04 64 00 00 00 68";
        QTest::newRow("whole frame") << QStringList{led} << QStringList{led};
        QTest::newRow("byte by byte") << led.split(' ') << QStringList{led};
        QTest::newRow("two in one chunk") << QStringList{led + ' ' + onTime} << QStringList{led, onTime};
        QTest::newRow("leading garbage") << QStringList{"00 F1 55 F2 F1 " + led} << QStringList{led};
        QTest::newRow("start byte split from its pair")
            << QStringList{"AA F2", "F2 01 03 00", "00 00 04"} << QStringList{"F2 F2 01 03 00 00 00 04"};
        QTest::newRow("torn frame, then a whole one") << QStringList{"F1 F1 07 00", onTime} << QStringList{onTime};
        QTest::newRow("bad checksum skipped") << QStringList{"F1 F1 0C 00 00 00 00 0D " + led} << QStringList{led};
        QTest::newRow("replies are not requests") << QStringList{"F3 F3 0C 05 00 00 00 11"} << QStringList{};
        QTest::newRow("incomplete frame waits") << QStringList{"F1 F1 0C 00 00"} << QStringList{};
    }

    void framesFromTheStream()
    {
        QFETCH(QStringList, chunks);
        QFETCH(QStringList, frames);
        RequestAssembler assembler;
        QStringList found;
        for (const QString &chunk : chunks) {
            const std::vector<uint8_t> data = bytes(chunk);
            for (const auto &frame : assembler.feed(data.data(), data.size()))
                found << hex({frame.begin(), frame.end()});
        }
        QCOMPARE(found, frames);
    }
};

QTEST_APPLESS_MAIN(RequestAssemblerTest)
#include "RequestAssemblerTest.moc"

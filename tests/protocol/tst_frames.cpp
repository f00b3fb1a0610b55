#include "ProtocolFrame.h"
#include "RecordingTrace.h"
#include "RequestSender.h"

#include <QtTest>

using namespace kx;

namespace {

QByteArray bytes(const ProtocolFrame &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()), int(frame.size()));
}

} // namespace

class FramesTest : public QObject {
    Q_OBJECT

private slots:
    void referenceFrames_data();
    void referenceFrames();
    void measurementReferenceFrame();
    void repliesDecodeLittleEndian();
    void requestsLeaveTheirLine();
    void measurementRequestLeavesNoLine();
};

void FramesTest::referenceFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("read ident") << bytes(buildFrame(FRAME_READ, CMD_IDENT, kZeroData))
                                << QByteArray::fromHex("F1F1200000000020");
    QTest::newRow("write on-time 100") << bytes(buildFrame(FRAME_WRITE, CMD_ONTIME, packedData(int32_t(100))))
                                       << QByteArray::fromHex("F2F2046400000068");
    QTest::newRow("write PK1 12.5") << bytes(buildFrame(FRAME_WRITE, CMD_PK1, packedData(12.5f)))
                                    << QByteArray::fromHex("F2F2080000484191");
    QTest::newRow("write multiplier 1.0")
        << bytes(buildFrame(FRAME_WRITE, CMD_COEF0, packedData(1.0f))) << QByteArray::fromHex("F2F2130000803FD2");
    QTest::newRow("reply LED 5") << bytes(buildFrame(FRAME_REPLY, CMD_LED, {5, 0, 0, 0}))
                                 << QByteArray::fromHex("F3F30C0500000011");
    QTest::newRow("sum past 255") << bytes(buildFrame(FRAME_REPLY, CMD_RES0, packedData(1024.0f)))
                                  << QByteArray::fromHex("F3F32500008044E9");
    QTest::newRow("sensor read carries d3")
        << bytes(buildFrame(FRAME_READ, CMD_SENSORS, {0, 0, 0, 2})) << QByteArray::fromHex("F1F11A000000021C");
    QTest::newRow("negative integer") << bytes(buildFrame(FRAME_WRITE, CMD_ONTIME, packedData(int32_t(-2))))
                                      << QByteArray::fromHex("F2F204FEFFFFFFFF");
}

void FramesTest::referenceFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    QCOMPARE(frame.toHex(' ').toUpper(), expected.toHex(' ').toUpper());
}

void FramesTest::measurementReferenceFrame()
{
    uint8_t frame[11] = {FRAME_MEASUREMENT, FRAME_MEASUREMENT, STATUS_SENSOR0 | STATUS_SENSOR1};
    PackU32(10.0f, frame + 3);
    PackU32(20.0f, frame + 7);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(frame), 11).toHex().toUpper(), QByteArray("F4F40300002041"
                                                                                           "0000A041"));
    QCOMPARE(measurementFrameLength(frame[2]), 11);
    QCOMPARE(measurementFrameLength(0x00), 3);
    QCOMPARE(measurementFrameLength(0x0F), 27);
    QCOMPARE(measurementFrameLength(0x0A), 11);
}

void FramesTest::repliesDecodeLittleEndian()
{
    const QByteArray ontime = QByteArray::fromHex("F3F304FEFFFFFF00");
    QCOMPARE(ReplyInt32(reinterpret_cast<const uint8_t *>(ontime.constData())), -2);
    const QByteArray pk1 = QByteArray::fromHex("F3F3080000484100");
    QCOMPARE(ReplyFloat32(reinterpret_cast<const uint8_t *>(pk1.constData())), 12.5f);
}

void FramesTest::requestsLeaveTheirLine()
{
    QList<QByteArray> sent;
    RequestSender sender([&](const ProtocolFrame &f) { sent.append(bytes(f)); });
    sender.SendRead(CMD_LED);
    sender.SendWrite(CMD_SENSORS, {0, 0, 0, 2});
    QCOMPARE(sent,
             (QList<QByteArray>{QByteArray::fromHex("F1F10C000000000C"), QByteArray::fromHex("F2F21A000000021C")}));
    QStringList lines;
    for (const QByteArray &block : sent)
        lines << RequestSender::traceLine(reinterpret_cast<const uint8_t *>(block.constData()), int(block.size()))
                     .value_or(QStringLiteral("none"));
    QCOMPARE(lines, (QStringList{">sending read cmd: 12: 0 0 0 0 ,CRC=12", ">sending write cmd: 26: 0 0 0 2 ,CRC=28"}));
}

void FramesTest::measurementRequestLeavesNoLine()
{
    QList<QByteArray> sent;
    RequestSender sender([&](const ProtocolFrame &f) { sent.append(bytes(f)); });
    sender.SendRead(CMD_MEASURE);
    QCOMPARE(sent, QList<QByteArray>{QByteArray::fromHex("F1F1070000000007")});
    // Neither the paced request nor anything that is not a whole request gets a line.
    for (const QByteArray &block :
         {sent.first(), QByteArray::fromHex("F3F3080000484100"), QByteArray("\xF1\xF1\x0C")}) {
        const auto *p = reinterpret_cast<const uint8_t *>(block.constData());
        QVERIFY(!RequestSender::traceLine(p, int(block.size())));
    }
}

QTEST_APPLESS_MAIN(FramesTest)
#include "tst_frames.moc"

#include "JournalRecord.h"

#include <QtEndian>

#include <cstring>

JournalRecord JournalRecord::chartPoint(const ChartSample &point)
{
    JournalRecord r;
    r.type = Type::ChartPoint;
    r.point = point;
    return r;
}

JournalRecord JournalRecord::registerRow(const RegisterRow &row)
{
    JournalRecord r;
    r.type = Type::RegisterRow;
    r.row = row;
    return r;
}

JournalRecord JournalRecord::cleared(Type type)
{
    JournalRecord r;
    r.type = type;
    return r;
}

namespace JournalFormat {
namespace {

constexpr std::array<quint32, 256> crcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr auto CrcTable = crcTable();

template <typename T> void put(unsigned char *&at, T value)
{
    qToLittleEndian(value, at);
    at += sizeof(T);
}
template <typename T> T take(const unsigned char *&at)
{
    T value = qFromLittleEndian<T>(at);
    at += sizeof(T);
    return value;
}

} // namespace

quint32 crc32(const unsigned char *data, std::size_t size)
{
    quint32 c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = CrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

RecordBytes encode(const JournalRecord &record)
{
    RecordBytes out{};
    unsigned char *at = out.data();
    put(at, quint8(record.type));
    switch (record.type) {
    case JournalRecord::Type::ChartPoint: {
        const ChartSample &p = record.point;
        put(at, quint8((p.active[0] ? 1 : 0) | (p.active[1] ? 2 : 0) | (p.active[2] ? 4 : 0) | (p.pk1State ? 8 : 0) |
                       (p.pk2State ? 16 : 0)));
        put(at, quint16(0));
        for (float v : p.channelValue)
            put(at, v);
        put(at, p.measTime);
        for (qint32 level : {p.H1, p.F1, p.H2, p.F2})
            put(at, level);
        break;
    }
    case JournalRecord::Type::RegisterRow: {
        const RegisterRow &r = record.row;
        put(at, quint8(0));
        put(at, r.flags);
        for (float v : r.value)
            put(at, v);
        put(at, r.measTime);
        put(at, r.localMs);
        break;
    }
    case JournalRecord::Type::ChartClear:
    case JournalRecord::Type::RegisterClear:
        break;
    }
    qToLittleEndian(crc32(out.data(), RecordSize - 4), out.data() + RecordSize - 4);
    return out;
}

std::optional<JournalRecord> decode(const unsigned char *bytes)
{
    if (qFromLittleEndian<quint32>(bytes + RecordSize - 4) != crc32(bytes, RecordSize - 4))
        return std::nullopt;
    const unsigned char *at = bytes;
    JournalRecord r;
    const quint8 type = take<quint8>(at);
    const quint8 bits = take<quint8>(at);
    const quint16 flags = take<quint16>(at);
    switch (JournalRecord::Type(type)) {
    case JournalRecord::Type::ChartPoint: {
        ChartSample &p = r.point;
        for (int k = 0; k < 3; ++k)
            p.active[k] = bits & (1 << k);
        p.pk1State = (bits & 8) ? 1 : 0;
        p.pk2State = (bits & 16) ? 1 : 0;
        for (float &v : p.channelValue)
            v = take<float>(at);
        p.measTime = take<double>(at);
        for (qint32 *level : {&p.H1, &p.F1, &p.H2, &p.F2})
            *level = take<qint32>(at);
        break;
    }
    case JournalRecord::Type::RegisterRow: {
        RegisterRow &row = r.row;
        row.flags = flags;
        for (float &v : row.value)
            v = take<float>(at);
        row.measTime = take<double>(at);
        row.localMs = take<qint64>(at);
        break;
    }
    case JournalRecord::Type::ChartClear:
    case JournalRecord::Type::RegisterClear:
        break;
    default:
        return std::nullopt;
    }
    r.type = JournalRecord::Type(type);
    return r;
}

HeaderBytes encodeHeader(qint64 startLocalMs)
{
    HeaderBytes out{};
    std::memcpy(out.data(), Magic, sizeof Magic);
    unsigned char *at = out.data() + sizeof Magic;
    put(at, Version);
    put(at, quint16(0));
    put(at, startLocalMs);
    put(at, quint32(0));
    put(at, crc32(out.data(), HeaderSize - 4));
    return out;
}

std::optional<qint64> decodeHeader(const unsigned char *bytes)
{
    if (std::memcmp(bytes, Magic, sizeof Magic) != 0 || qFromLittleEndian<quint16>(bytes + 4) != Version ||
        qFromLittleEndian<quint32>(bytes + HeaderSize - 4) != crc32(bytes, HeaderSize - 4))
        return std::nullopt;
    return qFromLittleEndian<qint64>(bytes + 8);
}

} // namespace JournalFormat

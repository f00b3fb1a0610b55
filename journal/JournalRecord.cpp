#include "JournalRecord.h"

#include <QtEndian>

#include <cstring>

JournalRecord JournalRecord::charted(const Sample &s)
{
    JournalRecord r;
    r.route = ToChart;
    r.sample = s;
    return r;
}

JournalRecord JournalRecord::registered(const Sample &shown, quint16 rowFlags, qint64 localMs, bool alsoCharted)
{
    JournalRecord r;
    r.route = quint8(ToRegister | (alsoCharted ? ToChart : 0));
    r.sample = shown;
    r.rowFlags = rowFlags;
    r.localMs = localMs;
    return r;
}

JournalRecord JournalRecord::event(Type type, double measTime, qint64 localMs)
{
    JournalRecord r;
    r.type = type;
    r.sample.time = measTime;
    r.localMs = localMs;
    return r;
}

namespace JournalFormat {
namespace {

constexpr unsigned char Magic[4] = {'K', 'X', 'J', '1'};

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
    const Sample &s = record.sample;
    quint8 bits = quint8((s.present[0] ? 1 : 0) | (s.present[1] ? 2 : 0) | (s.present[2] ? 4 : 0) | (s.pk1 ? 8 : 0) |
                         (s.pk2 ? 16 : 0) | ((record.route & 3) << 5));
    put(at, quint8(record.type));
    put(at, bits);
    put(at, record.rowFlags);
    for (float v : s.value)
        put(at, v);
    for (float c : s.cycles)
        put(at, c);
    put(at, s.time);
    put(at, record.localMs);
    put(at, crc32(out.data(), RecordSize - 4));
    return out;
}

std::optional<JournalRecord> decode(const unsigned char *bytes)
{
    if (qFromLittleEndian<quint32>(bytes + RecordSize - 4) != crc32(bytes, RecordSize - 4))
        return std::nullopt;
    const unsigned char *at = bytes;
    JournalRecord r;
    const quint8 type = take<quint8>(at);
    if (type < quint8(JournalRecord::Type::Sample) || type > quint8(JournalRecord::Type::RegisterClear))
        return std::nullopt;
    r.type = JournalRecord::Type(type);
    const quint8 bits = take<quint8>(at);
    for (int k = 0; k < 3; ++k)
        r.sample.present[k] = bits & (1 << k);
    r.sample.pk1 = bits & 8;
    r.sample.pk2 = bits & 16;
    r.route = quint8((bits >> 5) & 3);
    r.rowFlags = take<quint16>(at);
    for (float &v : r.sample.value)
        v = take<float>(at);
    for (float &c : r.sample.cycles)
        c = take<float>(at);
    r.sample.time = take<double>(at);
    r.localMs = take<qint64>(at);
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

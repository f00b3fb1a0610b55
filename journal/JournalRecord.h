#pragma once

#include "RegisterRow.h"
#include "SamplePoints.h"

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>

/// One entry of the run's journal: what the chart and the register were given, so that replaying
/// the entries in order rebuilds them exactly. Every entry has the same size on disk, so a torn
/// tail is found by length and checksum alone.
struct JournalRecord {
    enum class Type : quint8 {
        ChartPoint = 1,    ///< a sample the recording chart took
        ChartClear = 2,    ///< the chart's points were cleared (also by its record and stop buttons)
        RegisterRow = 3,   ///< a registration
        RegisterClear = 4, ///< the register's rows were cleared
    };

    Type type = Type::ChartPoint;
    ChartSample point; ///< of a ChartPoint
    RegisterRow row;   ///< of a RegisterRow

    static JournalRecord chartPoint(const ChartSample &point);
    static JournalRecord registerRow(const RegisterRow &row);
    static JournalRecord cleared(Type type);
};

/// The fixed layout on disk, little-endian: type u8, bits u8 (a chart point's active channels
/// 0-2, PK1 3, PK2 4), a row's flags u16, value f32[3], time f64, then 16 bytes: a chart point's
/// H1, F1, H2, F2 as i32, or a row's local time i64 and 8 zero bytes; last the CRC-32 of the
/// preceding 40 bytes.
namespace JournalFormat {
constexpr std::size_t RecordSize = 44; ///< bytes per journaled chart point or register row
constexpr std::size_t HeaderSize = 24;
constexpr quint16 Version = 1;
constexpr unsigned char Magic[4] = {'K', 'X', 'J', '1'};

using RecordBytes = std::array<unsigned char, RecordSize>;
using HeaderBytes = std::array<unsigned char, HeaderSize>;

RecordBytes encode(const JournalRecord &record);
/// Empty for a record that is torn, damaged or of an unknown type.
std::optional<JournalRecord> decode(const unsigned char *bytes);

/// Header: magic "KXJ1", version u16, reserved u16, run start (local ms) i64, reserved u32,
/// CRC-32 of the preceding 20 bytes.
HeaderBytes encodeHeader(qint64 startLocalMs);
std::optional<qint64> decodeHeader(const unsigned char *bytes);

quint32 crc32(const unsigned char *data, std::size_t size);
} // namespace JournalFormat

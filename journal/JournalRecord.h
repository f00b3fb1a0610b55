#pragma once

#include "Sample.h"

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>

/// One entry of the run's journal. Every record has the same size on disk, so a torn tail is
/// found by length and checksum alone.
struct JournalRecord {
    enum class Type : quint8 {
        Sample = 1,        ///< a sample that reached the chart and/or the register
        ChartRecord = 2,   ///< the chart's record button
        ChartPause = 3,    ///< the chart's pause button
        ChartStop = 4,     ///< the chart's stop button
        ChartClear = 5,    ///< the chart's points were cleared
        RegisterClear = 6, ///< the register's rows were cleared
    };
    /// Where a sample went.
    enum Route : quint8 {
        ToChart = 1 << 0,
        ToRegister = 1 << 1,
    };

    Type type = Type::Sample;
    quint8 route = 0;
    Sample sample;        ///< for registered rows: the values as the row shows them
    quint16 rowFlags = 0; ///< RegisterRow::flags of the registered row
    qint64 localMs = 0;   ///< registration (or event) wall-clock time, RegisterRow::localMs convention

    static JournalRecord charted(const Sample &s);
    static JournalRecord registered(const Sample &shown, quint16 rowFlags, qint64 localMs, bool alsoCharted);
    static JournalRecord event(Type type, double measTime, qint64 localMs);
};

/// The fixed layout on disk, little-endian: type u8, bits u8 (presence 0-2, pk1 3, pk2 4,
/// route 5-6), rowFlags u16, value f32[3], cycles f32[3], time f64, localMs i64, CRC-32 of
/// the preceding 44 bytes.
namespace JournalFormat {
constexpr std::size_t RecordSize = 48; ///< bytes per journaled sample
constexpr std::size_t HeaderSize = 24;
constexpr quint16 Version = 1;

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

#pragma once

#include <array>
#include <cstdint>
#include <cstring>

/// Wire format shared by the program and the simulated instrument.
namespace kx {

enum FrameKind : uint8_t {
    FRAME_READ = 0xF1,
    FRAME_WRITE = 0xF2,
    FRAME_REPLY = 0xF3,
    FRAME_MEASUREMENT = 0xF4,
};

enum Command : uint8_t {
    CMD_MODE = 1,
    CMD_DECP = 2,
    CMD_BEEP = 3,
    CMD_ONTIME = 4,
    CMD_MEASURE = 7,
    CMD_PK1 = 8,
    CMD_PK2 = 9,
    CMD_LED = 12,
    CMD_UZP0 = 13,
    CMD_UZP1 = 14,
    CMD_UZP2 = 15,
    CMD_OFFSET0 = 16,
    CMD_OFFSET1 = 17,
    CMD_OFFSET2 = 18,
    CMD_COEF0 = 19,
    CMD_COEF1 = 20,
    CMD_COEF2 = 21,
    CMD_ZERO0 = 22,
    CMD_ZERO1 = 23,
    CMD_ZERO2 = 24,
    CMD_SENSORS = 26,
    CMD_CLRCYC0 = 27,
    CMD_CLRCYC1 = 28,
    CMD_CLRCYC2 = 29,
    CMD_IDENT = 32,
    CMD_SWVER = 34,
    CMD_HWVER = 35,
    CMD_DEFAULTS = 36,
    CMD_RES0 = 37,
    CMD_RES1 = 38,
    CMD_RES2 = 39,
};

constexpr int kFrameSize = 8;

/// The 8-byte request and reply frame.
using ProtocolFrame = std::array<uint8_t, kFrameSize>;
using FrameData = std::array<uint8_t, 4>;

/// Data block of commands that carry no value.
inline constexpr FrameData kZeroData{0, 0, 0, 0};

/// (cmd + d0 + d1 + d2 + d3) mod 256; the start bytes are not included.
constexpr uint8_t checksum(uint8_t cmd, const FrameData &d)
{
    return static_cast<uint8_t>(cmd + d[0] + d[1] + d[2] + d[3]);
}

constexpr ProtocolFrame buildFrame(uint8_t kind, uint8_t cmd, const FrameData &d)
{
    return {kind, kind, cmd, d[0], d[1], d[2], d[3], checksum(cmd, d)};
}

/// Copies the four bytes of a 32-bit integer, or the bit pattern of a float, little-endian.
inline void PackU32(uint32_t value, uint8_t *out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void PackU32(int32_t value, uint8_t *out)
{
    PackU32(static_cast<uint32_t>(value), out);
}

inline void PackU32(float value, uint8_t *out)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PackU32(bits, out);
}

/// A data block holding a 32-bit value, as write requests carry it.
template <class T> FrameData packedData(T value)
{
    FrameData data{};
    PackU32(value, data.data());
    return data;
}

inline uint32_t readU32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline float readFloat32(const uint8_t *p)
{
    const uint32_t bits = readU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/// Bytes 3..6 of a reply as a little-endian signed 32-bit integer.
inline int32_t ReplyInt32(const uint8_t *frame)
{
    return static_cast<int32_t>(readU32(frame + 3));
}

/// Bytes 3..6 of a reply as a little-endian IEEE-754 single.
inline float ReplyFloat32(const uint8_t *frame)
{
    return readFloat32(frame + 3);
}

/// Measurement frame status bits.
enum MeasurementStatus : uint8_t {
    STATUS_SENSOR0 = 0x01,
    STATUS_SENSOR1 = 0x02,
    STATUS_SENSOR2 = 0x04,
    STATUS_CYCLES = 0x08,
    STATUS_PK1 = 0x10,
    STATUS_PK2 = 0x20,
};

/// Length a measurement frame announces by its status byte: 3 + 4 * n * (1 + c).
constexpr int measurementFrameLength(uint8_t status)
{
    const int sensors = (status & 1) + ((status >> 1) & 1) + ((status >> 2) & 1);
    const int perSensor = (status & STATUS_CYCLES) ? 8 : 4;
    return 3 + sensors * perSensor;
}

} // namespace kx

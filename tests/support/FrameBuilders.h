#pragma once

#include "ProtocolFrame.h"

#include <QByteArray>
#include <initializer_list>

/// Frames as the instrument sends them, for feeding the program in tests.
inline QByteArray replyFrame(uint8_t cmd, kx::FrameData data)
{
    const kx::ProtocolFrame frame = kx::buildFrame(kx::FRAME_REPLY, cmd, data);
    return QByteArray(reinterpret_cast<const char *>(frame.data()), kx::kFrameSize);
}

inline QByteArray replyFloat(uint8_t cmd, float value)
{
    return replyFrame(cmd, kx::packedData(value));
}

inline QByteArray measurementFrame(uint8_t status, std::initializer_list<float> values)
{
    QByteArray out;
    out.append(char(kx::FRAME_MEASUREMENT)).append(char(kx::FRAME_MEASUREMENT)).append(char(status));
    for (float value : values) {
        const kx::FrameData bytes = kx::packedData(value);
        out.append(reinterpret_cast<const char *>(bytes.data()), 4);
    }
    return out;
}

inline const uint8_t *bytesOf(const QByteArray &burst)
{
    return reinterpret_cast<const uint8_t *>(burst.constData());
}

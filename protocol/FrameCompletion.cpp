#include "FrameCompletion.h"

#include "ProtocolFrame.h"

bool isWholeFrame(const char *data, int size)
{
    const auto *p = reinterpret_cast<const uint8_t *>(data);
    if (size >= 2 && p[0] == kx::FRAME_MEASUREMENT && p[1] == kx::FRAME_MEASUREMENT)
        return size >= 3 && size == kx::measurementFrameLength(p[2]);
    return size == kx::kFrameSize && p[0] == p[1];
}

bool holdsMeasurement(const char *data, int size)
{
    const auto *p = reinterpret_cast<const uint8_t *>(data);
    return size >= 3 && p[0] == kx::FRAME_MEASUREMENT && p[1] == kx::FRAME_MEASUREMENT &&
           size >= kx::measurementFrameLength(p[2]);
}

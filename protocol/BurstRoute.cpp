#include "BurstRoute.h"

#include "ProtocolFrame.h"

BurstRoute routeBurst(const uint8_t *p, size_t n)
{
    if (n >= 2 && p[0] == kx::FRAME_MEASUREMENT && p[1] == kx::FRAME_MEASUREMENT)
        return BurstRoute::Measurement;
    if (n == kx::kFrameSize && p[0] != kx::FRAME_MEASUREMENT && p[0] == p[1])
        return BurstRoute::Reply;
    return BurstRoute::Nothing;
}

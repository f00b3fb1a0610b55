#include "RequestAssembler.h"

#include <algorithm>

using namespace kx;

namespace {

bool isRequestStart(const uint8_t *p)
{
    return p[0] == p[1] && (p[0] == FRAME_READ || p[0] == FRAME_WRITE);
}

bool hasValidChecksum(const uint8_t *p)
{
    return checksum(p[2], {p[3], p[4], p[5], p[6]}) == p[7];
}

} // namespace

std::vector<ProtocolFrame> RequestAssembler::feed(const uint8_t *data, size_t size)
{
    pending_.insert(pending_.end(), data, data + size);
    std::vector<ProtocolFrame> frames;
    size_t pos = 0;
    while (pending_.size() - pos >= 2) {
        const uint8_t *p = pending_.data() + pos;
        if (!isRequestStart(p)) {
            ++pos;
            continue;
        }
        if (pending_.size() - pos < kFrameSize)
            break;
        if (!hasValidChecksum(p)) {
            ++pos;
            continue;
        }
        ProtocolFrame frame;
        std::copy_n(p, kFrameSize, frame.begin());
        frames.push_back(frame);
        pos += kFrameSize;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pos));
    return frames;
}

#pragma once

#include "ProtocolFrame.h"

#include <cstddef>
#include <cstdint>
#include <vector>

/// Cuts the byte stream from the program into 8-byte request frames. A frame starts with two
/// equal bytes 0xF1 or 0xF2 and must carry a valid checksum; anything else is skipped one byte
/// at a time, so the reader falls back into step after garbage or a torn frame.
class RequestAssembler {
public:
    /// Takes the bytes just received; returns the requests they complete, in order.
    std::vector<kx::ProtocolFrame> feed(const uint8_t *data, size_t size);

private:
    std::vector<uint8_t> pending_;
};

#pragma once

#include <cstddef>
#include <cstdint>

enum class BurstRoute { Measurement, Reply, Nothing };

/// Where a received burst goes: any burst opening F4 F4 is a measurement frame; an
/// 8-byte burst with two equal first bytes is a candidate reply; the rest is noise.
BurstRoute routeBurst(const uint8_t *p, size_t n);

#pragma once

#include "DeviceState.h"

#include <cstddef>
#include <cstdint>

struct MeasurementResult {
    bool accepted = false;
    uint8_t presenceChanged = 0; ///< bit i: sensor i appeared or disappeared
};

/// Decodes a measurement frame into presence, values, counters and output states.
/// A frame shorter than its status byte announces is dropped whole.
MeasurementResult decodeMeasurement(const uint8_t *p, size_t n, DeviceState &device, ChannelState &channels);

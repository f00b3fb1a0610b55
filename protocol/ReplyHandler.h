#pragma once

#include "DeviceState.h"

#include <cstdint>

class TrafficTrace;

/// What a reply changed that the windows must show.
struct ReplyEffect {
    enum Kind {
        Dropped,      ///< bad start bytes or checksum: nothing changed
        StateOnly,    ///< state changed, nothing to show
        Mode,         ///< mode list and picture
        ZeroPosition, ///< zero-position label and the offset dialog
        Offset,       ///< offset label and the offset dialog
        Multiplier,   ///< multiplier dialog and label
        Zeroing,      ///< zero-position label only
        Sensors,      ///< group captions, sensor count, maybe the "Aktywny" boxes
        Resolution,   ///< resolution edit box, arrows and list
        CycleReset,   ///< the instrument has reset a cycle counter
        Defaults,     ///< the instrument has taken its factory settings
    };
    Kind kind = Dropped;
    int sensor = 0;
    /// Sensor reply after the first one: the "Aktywny" boxes follow the presence.
    bool setActiveBoxes = false;
};

/// Checks a reply frame and stores what it carries into the device state. Traffic
/// lines go to `trace` while it is visible.
ReplyEffect HandleReplyFrame(const uint8_t *p, DeviceState &state, TrafficTrace *trace);

/// The whole number a resolution reply shows: sensor 0 truncates the value itself,
/// sensors 1 and 2 truncate it after rounding to thousandths.
long long resolutionSteps(int sensor, float value);

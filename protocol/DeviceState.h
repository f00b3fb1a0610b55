#pragma once

#include "DeviceParams.h"

#include <cstdint>

enum DeviceType : int32_t {
    DeviceUnknown = 0,
    DeviceKX520Q = 1,
    DeviceVN6R = 2,
    DeviceKX520S = 3,
};

/// The program's picture of the instrument, filled by its replies and measurement frames.
struct DeviceState {
    DeviceParams Set;
    DeviceParams Stan;
    ParamFlags Recv;
    int32_t deviceType = DeviceUnknown;
    /// The last type identified by a connection that has a model name; its name is shown
    /// until another such type is identified.
    int32_t namedType = DeviceUnknown;
    int32_t swVersion = 0;
    int32_t hwVersion = 0;
    bool sensorPresent[3] = {};
    float sensorCount = 0;
    /// The settings panel must be refreshed from Stan before the user's input counts again.
    bool panelRefreshPending = false;
};

/// The latest sample of the three channels and the two output lines.
struct ChannelState {
    float channelValue[3] = {};
    float cycleCount[3] = {};
    bool pk1State = false;
    bool pk2State = false;
};

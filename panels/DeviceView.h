#pragma once

#include "DeviceState.h"
#include "ReplyHandler.h"
#include "SensorControls.h"

#include <array>

class Corrections;
class ResolutionControls;
class SettingsPanel;

/// Shows in the windows what replies and measurement frames changed in the device state.
class DeviceView {
public:
    DeviceView(const std::array<SensorControls, 3> &sensors, SettingsPanel &panel, ResolutionControls &resolution,
               Corrections &corrections);

    void showReply(const ReplyEffect &effect, const DeviceState &device);
    /// The sensor's group caption after its presence changed.
    void showPresence(int sensor, bool present);

private:
    void showSensors(const DeviceState &device, bool setActiveBoxes);

    const std::array<SensorControls, 3> &sensors;
    SettingsPanel &panel;
    ResolutionControls &resolution;
    Corrections &corrections;
};

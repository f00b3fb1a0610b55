#pragma once

#include "DeviceState.h"
#include "ReplyHandler.h"
#include "SensorControls.h"

#include <array>

class ResolutionControls;
class SettingsPanel;
class TMnoznikForm;
class TWartoscForm;

/// Shows in the windows what replies and measurement frames changed in the device state.
class DeviceView {
public:
    DeviceView(const std::array<SensorControls, 3> &sensors, SettingsPanel &panel, ResolutionControls &resolution,
               TWartoscForm &wartosc, TMnoznikForm &mnoznik);

    void showReply(const ReplyEffect &effect, const DeviceState &device);
    /// The sensor's group caption after its presence changed.
    void showPresence(int sensor, bool present);

private:
    void showZeroPosition(int sensor, const DeviceState &device, bool toDialog);
    void showOffset(int sensor, const DeviceState &device);
    void showMultiplier(int sensor, const DeviceState &device);
    void showSensors(const DeviceState &device, bool setActiveBoxes);

    const std::array<SensorControls, 3> &sensors;
    SettingsPanel &panel;
    ResolutionControls &resolution;
    TWartoscForm &wartosc;
    TMnoznikForm &mnoznik;
};

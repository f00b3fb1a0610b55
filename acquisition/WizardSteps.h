#pragma once

#include "DeviceState.h"

#include <QString>
#include <cstdint>
#include <optional>

/// Steps of the connection sequence.
enum WizardStepNumber : int32_t {
    WizardIdle = 0,
    WizardIdentify = 1,
    WizardFirstWait = 2,
    WizardLastWait = 24,
    WizardFinish = 25,
};

/// A step that waits for a value: the read that asks for it on every tick until it
/// has arrived, and the ticks after which the failure display shows.
struct WizardWait {
    uint8_t request;
    int tickLimit;
    bool (*arrived)(const DeviceState &device);
};

/// The wait of steps 2 to 24; none for the others.
std::optional<WizardWait> wizardWait(int32_t step);

/// A version number as the wizard shows it: a point after the first digit (12 → "1.2", 5 → "5.").
QString versionText(int32_t version);

/// The model name of an identified instrument; none for an unknown type.
std::optional<QString> deviceTypeName(int32_t deviceType);

#pragma once

#include "ConnectionState.h"
#include "DeviceState.h"

#include <QString>
#include <cstdint>
#include <optional>

/// Steps of the connection sequence.
enum WizardStepNumber : int32_t {
    WizardIdle = 0,
    WizardIdentify = 1,
    WizardFirstWait = 2,
    WizardSensors = 5,
    WizardLastWait = 24,
    WizardFinish = 25,
};

/// A step that waits for a value: the read that asks for it until it has arrived, and
/// the ticks after which the failure display shows.
struct WizardWait {
    uint8_t request;
    int tickLimit;
    bool (*arrived)(const DeviceState &device);
};

/// The wait of steps 2 to 24; none for the others.
std::optional<WizardWait> wizardWait(int32_t step);

/// What one tick of the sequence did.
struct SequenceTick {
    std::optional<uint8_t> request; ///< the read to send now
    int completedStep = 0;          ///< the step whose work was done on this tick, 0 for none
    bool showFailure = false;       ///< the running step is past its tick limit
    bool finished = false;          ///< the instrument is found and its values adopted
};

/// Identifies the instrument and reads its versions and every parameter, one request
/// per tick, then adopts the reported values as the wanted ones.
class ConnectionSequence {
public:
    /// Forgets what must be asked again at a new connection: every received flag except
    /// the sensor presence and the resolutions.
    static void forgetParameters(DeviceState &device);

    /// The port is open: the next tick starts identification.
    void begin() { setStep(WizardIdentify); }
    /// Reads the sensors and every parameter again, as after the identification, and adopts them.
    void beginReload() { setStep(WizardSensors); }
    void abort() { setStep(WizardIdle); }

    SequenceTick tick(DeviceState &device, ConnectionState &connection);

    int step() const { return step_; }
    int ticks() const { return ticks_; }
    bool running() const { return step_ != WizardIdle; }

private:
    void setStep(int step)
    {
        step_ = step;
        ticks_ = 0;
    }

    int step_ = WizardIdle;
    int ticks_ = 0;
};

/// A version number as the wizard shows it: a point after the first digit (12 → "1.2", 5 → "5.").
QString versionText(int32_t version);

/// The model name of an identified instrument; none for an unknown type.
std::optional<QString> modelName(int32_t deviceType);

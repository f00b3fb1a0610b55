#pragma once

#include "AcquisitionPacer.h"
#include "DeviceState.h"
#include "ProtocolFrame.h"

#include <QStringList>
#include <optional>
#include <vector>

struct SyncRequest {
    bool write = false;
    uint8_t cmd = 0;
    kx::FrameData data = kx::kZeroData;

    bool operator==(const SyncRequest &) const = default;
};

/// What one tick of the synchronisation loop does.
struct SyncTick {
    std::vector<SyncRequest> requests;
    /// The panel must be refreshed from the reported values, then panelRefreshPending cleared.
    bool refreshPanel = false;
};

/// Keeps the instrument's parameters in step with the wanted ones: every tick writes
/// the first wanted value the instrument does not hold yet, reads values not yet
/// reported, serves cycle-counter resets and, while idle, polls the sensors.
class ParameterSync {
public:
    static constexpr int kPollEveryTicks = 9;

    SyncTick tick(DeviceState &device, bool deviceFound, bool GO, const ChannelState &channels);

    bool cycleResetPending[3] = {};
    int32_t pollCountdown = 0;
};

/// The write of the first member, in write order, whose reported value differs from the wanted one.
std::optional<SyncRequest> firstDifference(const DeviceParams &set, const DeviceParams &stan);

/// Floats are equal when both round to the same thousandth; a value that is not a number never is.
bool sameParameter(float wanted, float reported);

/// The monitor's listing of Set against Stan and of the acquisition flags.
QStringList syncListing(const DeviceState &device, const AcquisitionState &acquisition);

/// The device status text; none where it stays as it is.
std::optional<QString> statusText(bool deviceFound, bool GO);

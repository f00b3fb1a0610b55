#pragma once

#include "RegisterRow.h"

#include <QDateTime>

#include <array>
#include <optional>

/// The register tab's check boxes that decide which cells a registration fills; the defaults
/// are the boxes' states at first start.
struct RegisterChoice {
    bool sampleNumber = true;                         ///< "numer próbki"
    bool date = false;                                ///< "data"
    bool time = false;                                ///< "godzina"
    bool measTime = true;                             ///< "czas pomiaru"
    std::array<bool, 3> channel = {true, true, true}; ///< "Czujnik 0".."Czujnik 2"
    bool pk1 = false;                                 ///< "PK1"
    bool pk2 = false;                                 ///< "PK2"
};

/// What is registered: the state of the readout at the moment of registration.
struct RegisterSample {
    double measTime = 0;
    /// The reading each large value field shows; empty while it still shows its dashes.
    std::array<std::optional<float>, 3> shown;
    /// The "Aktywny" boxes: an inactive channel's field holds a stale reading.
    std::array<bool, 3> active = {true, true, true};
    bool pk1State = false;
    bool pk2State = false;
    QDateTime now;
};

/// The row one registration appends. A channel whose "Aktywny" box is unchecked registers
/// dashes: its field keeps the last reading it showed, which is not a measurement of now.
RegisterRow registerRow(const RegisterSample &sample, const RegisterChoice &choice);

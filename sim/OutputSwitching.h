#pragma once

#include <array>
#include <cstdint>
#include <optional>

/// What the output logic looks at in one scan.
struct SwitchInputs {
    std::array<std::optional<double>, 3> values; ///< displayed value of each present sensor
    uint8_t mode = 0;
    uint8_t activeSensor = 0;
    double P1 = 0.0;
    double P2 = 0.0;
    int32_t onTimeMs = 0;
};

// The output lines PK1 and PK2, decided in every scan from the value v of the active sensor
// (Q_NR) and the thresholds P1 = PK1, P2 = PK2. When the active sensor is absent or does not
// exist both lines are off.
//   mode 0  reading only: PK1 off, PK2 off.
//   mode 1  two thresholds: PK1 on while v >= P1; PK2 on while v >= P2.
//   mode 2  threshold and margin: PK1 on while v >= P1; PK2 (early warning) on while
//           v >= P1 - P2, so P2 is the margin below the threshold.
//   mode 3  cycle counting: each present sensor is armed once its value is below
//           L = min(P1, P2); an armed sensor whose value reaches P1 is disarmed and counts
//           one cycle. PK1 is on for OnTime ms after each cycle of the active sensor (a new
//           cycle restarts that time); PK2 is on while the active sensor is armed.
//   any other mode: both lines off.
// Arming and disarming go on in every mode, so that mode 3 starts from the true state, but
// cycles are counted only in mode 3; the counters keep their value in the other modes.
class OutputSwitching {
public:
    /// One scan; `seconds` is the time since the previous scan, used by the PK1 pulse.
    void update(const SwitchInputs &in, double seconds);

    bool pk1() const { return pk1_; }
    bool pk2() const { return pk2_; }
    uint32_t cycles(int sensor) const { return cycles_[sensor]; }
    void clearCycles(int sensor) { cycles_[sensor] = 0; }

private:
    std::array<bool, 3> armed_{};
    std::array<uint32_t, 3> cycles_{};
    double pulseLeft_ = 0.0; ///< seconds PK1 stays on in mode 3
    bool pk1_ = false;
    bool pk2_ = false;
};

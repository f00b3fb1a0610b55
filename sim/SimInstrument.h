#pragma once

#include "OutputSwitching.h"
#include "ProtocolFrame.h"
#include "SimParams.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The instrument as the program sees it over the line: parameters, three moving sensors,
/// corrections, output lines and cycle counters. No I/O and no threads; time moves only
/// through advance().
class SimInstrument {
public:
    /// Answers one 8-byte request: an 8-byte reply, a measurement frame for command 7, or
    /// nothing for a frame that is not a request (start bytes, checksum).
    std::vector<uint8_t> handleRequest(const uint8_t *frame);

    /// Moves the sensors on by `seconds` and runs the output logic at least every 10 ms of it.
    void advance(double seconds);

    void setSensorPresent(int sensor, bool present);
    /// The three model letters answered to command 32; missing letters are sent as 0.
    void setIdentity(std::string_view letters);
    void setSoftwareVersion(uint8_t version) { softwareVersion_ = version; }
    void setHardwareVersion(uint8_t version) { hardwareVersion_ = version; }

    const SimParams &params() const { return params_; }
    /// Parameters as if set earlier; CMD_DEFAULTS still brings back the SimParams initialisers.
    void setParams(const SimParams &params) { params_ = params; }
    bool sensorPresent(int sensor) const { return present_[sensor]; }
    /// The sensor's position in degrees, in steps of its resolution.
    double position(int sensor) const;
    /// The displayed value: wrap360((position − UZP) × COEF + Offset).
    double value(int sensor) const;
    uint32_t cycles(int sensor) const { return outputs_.cycles(sensor); }
    bool pk1() const { return outputs_.pk1(); }
    bool pk2() const { return outputs_.pk2(); }
    std::string identity() const;
    uint8_t softwareVersion() const { return softwareVersion_; }
    uint8_t hardwareVersion() const { return hardwareVersion_; }
    double seconds() const { return time_; }

private:
    kx::FrameData answer(uint8_t cmd, bool write, const kx::FrameData &d);
    std::vector<uint8_t> measurementFrame() const;
    void scan(double seconds);

    SimParams params_;
    std::array<bool, 3> present_{true, true, true};
    std::array<char, 3> identity_{'K', 'S', '5'};
    uint8_t softwareVersion_ = 12;
    uint8_t hardwareVersion_ = 10;
    double time_ = 0.0;
    OutputSwitching outputs_;
};

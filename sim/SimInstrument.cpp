#include "SimInstrument.h"

#include "SensorMotion.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace kx;

namespace {

// The instrument scans its sensors and outputs this often; advance() never steps further.
constexpr double kScanPeriod = 0.01;

/// Sensor index of a command in a group of three consecutive codes starting at `first`.
std::optional<int> sensorOf(uint8_t cmd, uint8_t first)
{
    if (cmd < first || cmd > first + 2)
        return std::nullopt;
    return cmd - first;
}

FrameData byteData(uint8_t value)
{
    return {value, 0, 0, 0};
}

template <class T> FrameData packed(T value)
{
    FrameData d;
    PackU32(value, d.data());
    return d;
}

} // namespace

std::vector<uint8_t> SimInstrument::handleRequest(const uint8_t *frame)
{
    const uint8_t kind = frame[0];
    if (frame[1] != kind || (kind != FRAME_READ && kind != FRAME_WRITE))
        return {};
    const uint8_t cmd = frame[2];
    const FrameData d{frame[3], frame[4], frame[5], frame[6]};
    if (checksum(cmd, d) != frame[7])
        return {};
    if (cmd == CMD_MEASURE)
        return measurementFrame();

    const FrameData data = answer(cmd, kind == FRAME_WRITE, d);
    scan(0.0); // a new parameter switches the outputs at once
    const ProtocolFrame reply = buildFrame(FRAME_REPLY, cmd, data);
    return {reply.begin(), reply.end()};
}

FrameData SimInstrument::answer(uint8_t cmd, bool write, const FrameData &d)
{
    // Reads report the value held; writes store theirs and report the value now held.
    const auto byteParam = [&](uint8_t &field) {
        if (write)
            field = d[0];
        return byteData(field);
    };
    const auto intParam = [&](int32_t &field) {
        if (write)
            field = static_cast<int32_t>(readU32(d.data()));
        return packed(field);
    };
    const auto floatParam = [&](float &field) {
        if (write)
            field = readFloat32(d.data());
        return packed(field);
    };

    switch (cmd) {
    case CMD_MODE:
        return byteParam(params_.mode);
    case CMD_DECP:
        return byteParam(params_.decp);
    case CMD_BEEP:
        return byteParam(params_.Beep);
    case CMD_ONTIME:
        return intParam(params_.OnTime);
    case CMD_PK1:
        return floatParam(params_.PK1);
    case CMD_PK2:
        return floatParam(params_.PK2);
    case CMD_LED:
        return byteParam(params_.LED);
    case CMD_SENSORS:
        if (write)
            params_.Q_NR = d[3];
        return {present_[0], present_[1], present_[2], params_.Q_NR};
    case CMD_IDENT:
        return {uint8_t(identity_[0]), uint8_t(identity_[1]), uint8_t(identity_[2]), 0};
    case CMD_SWVER:
        return byteData(softwareVersion_);
    case CMD_HWVER:
        return byteData(hardwareVersion_);
    case CMD_DEFAULTS:
        params_ = SimParams{};
        return kZeroData;
    }
    if (const auto i = sensorOf(cmd, CMD_UZP0))
        return floatParam(params_.UZP[*i]);
    if (const auto i = sensorOf(cmd, CMD_OFFSET0))
        return floatParam(params_.Offset[*i]);
    if (const auto i = sensorOf(cmd, CMD_COEF0))
        return floatParam(params_.COEF[*i]);
    if (const auto i = sensorOf(cmd, CMD_RES0))
        return floatParam(params_.Res[*i]);
    if (const auto i = sensorOf(cmd, CMD_ZERO0)) {
        params_.UZP[*i] = static_cast<float>(position(*i));
        return packed(params_.UZP[*i]);
    }
    if (const auto i = sensorOf(cmd, CMD_CLRCYC0))
        outputs_.clearCycles(*i);
    // Counter resets and codes the instrument does not know are echoed without data.
    return kZeroData;
}

std::vector<uint8_t> SimInstrument::measurementFrame() const
{
    const bool withCycles = params_.mode == 3;
    uint8_t status = withCycles ? STATUS_CYCLES : 0;
    for (int i = 0; i < 3; ++i) {
        if (present_[i])
            status |= uint8_t(STATUS_SENSOR0 << i);
    }
    if (pk1())
        status |= STATUS_PK1;
    if (pk2())
        status |= STATUS_PK2;

    std::vector<uint8_t> frame{FRAME_MEASUREMENT, FRAME_MEASUREMENT, status};
    const auto appendFloat = [&frame](float value) {
        const FrameData d = packed(value);
        frame.insert(frame.end(), d.begin(), d.end());
    };
    for (int i = 0; i < 3; ++i) {
        if (!present_[i])
            continue;
        appendFloat(static_cast<float>(value(i)));
        if (withCycles)
            appendFloat(static_cast<float>(cycles(i)));
    }
    return frame;
}

void SimInstrument::advance(double seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0.0)
        return;
    // Stepping towards a fixed end keeps the final time exact, whatever the step count.
    const double end = time_ + seconds;
    while (time_ < end) {
        const double next = std::min(end, time_ + kScanPeriod);
        const double step = next - time_;
        time_ = next;
        scan(step);
    }
}

void SimInstrument::scan(double seconds)
{
    SwitchInputs in;
    for (int i = 0; i < 3; ++i) {
        if (present_[i])
            in.values[i] = value(i);
    }
    in.mode = params_.mode;
    in.activeSensor = params_.Q_NR;
    in.P1 = params_.PK1;
    in.P2 = params_.PK2;
    in.onTimeMs = params_.OnTime;
    outputs_.update(in, seconds);
}

void SimInstrument::setSensorPresent(int sensor, bool present)
{
    present_[sensor] = present;
    scan(0.0);
}

void SimInstrument::setIdentity(std::string_view letters)
{
    for (size_t i = 0; i < identity_.size(); ++i)
        identity_[i] = i < letters.size() ? letters[i] : '\0';
}

std::string SimInstrument::identity() const
{
    return {identity_.begin(), std::find(identity_.begin(), identity_.end(), '\0')};
}

double SimInstrument::position(int sensor) const
{
    return SensorMotion::quantise(SensorMotion::angle(sensor, time_), params_.Res[sensor]);
}

double SimInstrument::value(int sensor) const
{
    const double corrected = (position(sensor) - params_.UZP[sensor]) * params_.COEF[sensor] + params_.Offset[sensor];
    return SensorMotion::wrap360(corrected);
}

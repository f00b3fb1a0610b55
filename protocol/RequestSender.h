#pragma once

#include "ProtocolFrame.h"

#include <functional>

class TrafficTrace;

/// Builds read and write requests, leaves their line in the traffic trace and hands
/// the 8 bytes to the port.
class RequestSender {
public:
    using FrameSink = std::function<void(const kx::ProtocolFrame &frame)>;

    explicit RequestSender(FrameSink sink, TrafficTrace *trace = nullptr);

    void setTrace(TrafficTrace *trace) { trace_ = trace; }

    void SendRead(uint8_t cmd, const kx::FrameData &data = kx::kZeroData);
    void SendWrite(uint8_t cmd, const kx::FrameData &data = kx::kZeroData);

private:
    void send(uint8_t kind, uint8_t cmd, const kx::FrameData &data);

    FrameSink sink_;
    TrafficTrace *trace_;
};

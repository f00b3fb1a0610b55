#pragma once

#include "ProtocolFrame.h"

#include <QString>
#include <functional>
#include <optional>

/// Builds read and write requests and hands the 8 bytes to the port.
class RequestSender {
public:
    using FrameSink = std::function<void(const kx::ProtocolFrame &frame)>;

    explicit RequestSender(FrameSink sink);

    void SendRead(uint8_t cmd, const kx::FrameData &data = kx::kZeroData);
    void SendWrite(uint8_t cmd, const kx::FrameData &data = kx::kZeroData);

    /// The traffic monitor's line for a block that has left the port; none for the paced
    /// measurement requests, which would flood it, nor for anything that is not a request.
    static std::optional<QString> traceLine(const uint8_t *block, int size);
    /// Whether a block that has left deserves a line at all; cheap enough for the port's worker.
    static bool traced(const uint8_t *block, int size);

private:
    void send(uint8_t kind, uint8_t cmd, const kx::FrameData &data);

    FrameSink sink_;
};

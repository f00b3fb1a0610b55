#include "RequestSender.h"

RequestSender::RequestSender(FrameSink sink) : sink_(std::move(sink)) {}

void RequestSender::SendRead(uint8_t cmd, const kx::FrameData &data)
{
    send(kx::FRAME_READ, cmd, data);
}

void RequestSender::SendWrite(uint8_t cmd, const kx::FrameData &data)
{
    send(kx::FRAME_WRITE, cmd, data);
}

void RequestSender::send(uint8_t kind, uint8_t cmd, const kx::FrameData &data)
{
    if (sink_)
        sink_(kx::buildFrame(kind, cmd, data));
}

bool RequestSender::traced(const uint8_t *block, int size)
{
    return size == kx::kFrameSize && (block[0] == kx::FRAME_READ || block[0] == kx::FRAME_WRITE) &&
           block[2] != kx::CMD_MEASURE;
}

std::optional<QString> RequestSender::traceLine(const uint8_t *block, int size)
{
    if (!traced(block, size))
        return std::nullopt;
    return QStringLiteral("%1%2: %3 %4 %5 %6 ,CRC=%7")
        .arg(block[0] == kx::FRAME_READ ? ">sending read cmd: " : ">sending write cmd: ")
        .arg(int(block[2]))
        .arg(int(block[3]))
        .arg(int(block[4]))
        .arg(int(block[5]))
        .arg(int(block[6]))
        .arg(int(block[7]));
}

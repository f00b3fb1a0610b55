#include "RequestSender.h"

#include "TrafficTrace.h"

RequestSender::RequestSender(FrameSink sink, TrafficTrace *trace) : sink_(std::move(sink)), trace_(trace) {}

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
    const kx::ProtocolFrame frame = kx::buildFrame(kind, cmd, data);
    // The paced measurement requests would flood the monitor.
    if (cmd != kx::CMD_MEASURE && trace_ && trace_->visible()) {
        trace_->appendLine(QStringLiteral("%1%2: %3 %4 %5 %6 ,CRC=%7")
                               .arg(kind == kx::FRAME_READ ? ">sending read cmd: " : ">sending write cmd: ")
                               .arg(int(cmd))
                               .arg(int(data[0]))
                               .arg(int(data[1]))
                               .arg(int(data[2]))
                               .arg(int(data[3]))
                               .arg(int(frame[7])));
    }
    if (sink_)
        sink_(frame);
}

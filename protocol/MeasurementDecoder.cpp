#include "MeasurementDecoder.h"

#include "ProtocolFrame.h"

MeasurementResult decodeMeasurement(const uint8_t *p, size_t n, DeviceState &device, ChannelState &channels)
{
    MeasurementResult result;
    if (n < 3 || n < size_t(kx::measurementFrameLength(p[2])))
        return result;
    const uint8_t status = p[2];
    const bool withCycles = status & kx::STATUS_CYCLES;
    channels.pk1State = status & kx::STATUS_PK1;
    channels.pk2State = status & kx::STATUS_PK2;

    for (int i = 0; i < 3; ++i) {
        const bool present = status & (1 << i);
        if (present != device.sensorPresent[i]) {
            device.sensorPresent[i] = present;
            device.panelRefreshPending = true;
            result.presenceChanged |= uint8_t(1 << i);
        }
    }

    size_t pos = 3;
    for (int i = 0; i < 3; ++i) {
        if (!device.sensorPresent[i])
            continue;
        channels.channelValue[i] = kx::readFloat32(p + pos);
        pos += 4;
        if (withCycles) {
            channels.cycleCount[i] = kx::readFloat32(p + pos);
            pos += 4;
        }
    }
    result.accepted = true;
    return result;
}

#include "ReplyHandler.h"

#include "NumberFormat.h"
#include "ProtocolFrame.h"
#include "TrafficTrace.h"

#include <cmath>

namespace {

bool tracing(const TrafficTrace *trace)
{
    return trace && trace->visible();
}

float roundedThousandths(float value)
{
    return static_cast<float>(RoundDecimal(value, -3));
}

int32_t identify(const uint8_t *d)
{
    const auto is = [d](const char *letters) {
        return d[0] == uint8_t(letters[0]) && d[1] == uint8_t(letters[1]) && d[2] == uint8_t(letters[2]);
    };
    if (is("KS5"))
        return DeviceKX520S;
    if (is("KQ5"))
        return DeviceKX520Q;
    if (is("VR5"))
        return DeviceVN6R;
    return DeviceUnknown;
}

ReplyEffect sensorsReply(const uint8_t *d, DeviceState &s)
{
    for (int i = 0; i < 3; ++i)
        s.sensorPresent[i] = d[i] != 0;
    s.Stan.Q_NR = d[3];
    ReplyEffect effect{ReplyEffect::Sensors};
    effect.setActiveBoxes = s.Recv.presenceKnown;
    s.Recv.presenceKnown = true;
    s.panelRefreshPending = false;
    s.sensorCount = float(s.sensorPresent[0] + s.sensorPresent[1] + s.sensorPresent[2]);
    return effect;
}

} // namespace

ReplyEffect HandleReplyFrame(const uint8_t *p, DeviceState &s, TrafficTrace *trace)
{
    if (p[0] != kx::FRAME_REPLY || p[1] != p[0])
        return {};
    const uint8_t cmd = p[2];
    const uint8_t *d = p + 3;
    const uint8_t sum = kx::checksum(cmd, {d[0], d[1], d[2], d[3]});
    if (tracing(trace)) {
        trace->appendLine(QStringLiteral("   <<Received Data: %1: %2 %3 %4 %5 ,CRC=%6<->%7")
                              .arg(int(cmd))
                              .arg(int(d[0]))
                              .arg(int(d[1]))
                              .arg(int(d[2]))
                              .arg(int(d[3]))
                              .arg(int(p[7]))
                              .arg(int(sum)));
    }
    if (sum != p[7]) {
        if (tracing(trace))
            trace->appendLine(QStringLiteral("  <<BAD CRC :("));
        return {};
    }

    s.panelRefreshPending = true;
    ReplyEffect effect{ReplyEffect::StateOnly};
    switch (cmd) {
    case kx::CMD_MODE:
        s.Stan.mode = d[0];
        s.Recv.mode = true;
        effect.kind = ReplyEffect::Mode;
        break;
    case kx::CMD_DECP:
        s.Stan.decp = d[0];
        s.Recv.decp = true;
        break;
    case kx::CMD_BEEP:
        s.Stan.Beep = d[0];
        s.Recv.Beep = true;
        break;
    case kx::CMD_ONTIME:
        s.Stan.OnTime = kx::ReplyInt32(p);
        s.Recv.OnTime = true;
        break;
    case 5:
    case 6:
    case 10:
    case 11:
    case 31:
        break;
    case kx::CMD_DEFAULTS:
        effect.kind = ReplyEffect::Defaults;
        break;
    case kx::CMD_CLRCYC0:
    case kx::CMD_CLRCYC1:
    case kx::CMD_CLRCYC2:
        s.panelRefreshPending = false;
        effect = {ReplyEffect::CycleReset, cmd - kx::CMD_CLRCYC0};
        break;
    case kx::CMD_MEASURE:
    case 30:
        s.panelRefreshPending = false;
        break;
    case kx::CMD_PK1:
        s.Stan.PK1 = kx::ReplyFloat32(p);
        s.Recv.PK1 = true;
        break;
    case kx::CMD_PK2:
        s.Stan.PK2 = kx::ReplyFloat32(p);
        s.Recv.PK2 = true;
        break;
    case kx::CMD_LED:
        s.Stan.LED = d[0];
        s.Recv.LED = true;
        break;
    case kx::CMD_UZP0:
    case kx::CMD_UZP1:
    case kx::CMD_UZP2: {
        const int i = cmd - kx::CMD_UZP0;
        s.Stan.UZP[i] = roundedThousandths(kx::ReplyFloat32(p));
        if (!s.Recv.UZP[i]) // first arrival since the connect
            s.Set.UZP[i] = s.Stan.UZP[i];
        s.Recv.UZP[i] = true;
        effect = {ReplyEffect::ZeroPosition, i};
        break;
    }
    case kx::CMD_OFFSET0:
    case kx::CMD_OFFSET1:
    case kx::CMD_OFFSET2: {
        const int i = cmd - kx::CMD_OFFSET0;
        s.Stan.Offset[i] = roundedThousandths(kx::ReplyFloat32(p));
        s.Recv.Offset[i] = true;
        effect = {ReplyEffect::Offset, i};
        break;
    }
    case kx::CMD_COEF0:
    case kx::CMD_COEF1:
    case kx::CMD_COEF2: {
        const int i = cmd - kx::CMD_COEF0;
        s.Stan.COEF[i] = roundedThousandths(kx::ReplyFloat32(p));
        s.Recv.COEF[i] = true;
        effect = {ReplyEffect::Multiplier, i};
        break;
    }
    case kx::CMD_ZERO0:
    case kx::CMD_ZERO1:
    case kx::CMD_ZERO2: {
        // The instrument's new zero replaces the wanted one as well.
        const int i = cmd - kx::CMD_ZERO0;
        s.Recv.UZP[i] = true;
        s.Stan.UZP[i] = roundedThousandths(kx::ReplyFloat32(p));
        s.Set.UZP[i] = s.Stan.UZP[i];
        effect = {ReplyEffect::Zeroing, i};
        break;
    }
    case kx::CMD_SENSORS:
        effect = sensorsReply(d, s);
        break;
    case kx::CMD_IDENT:
        s.deviceType = identify(d);
        break;
    case kx::CMD_SWVER:
        s.swVersion = d[0];
        break;
    case kx::CMD_HWVER:
        s.hwVersion = d[0];
        break;
    case kx::CMD_RES0:
    case kx::CMD_RES1:
    case kx::CMD_RES2: {
        const int i = cmd - kx::CMD_RES0;
        s.Stan.Res[i] = kx::ReplyFloat32(p);
        s.Recv.Res[i] = true;
        effect = {ReplyEffect::Resolution, i};
        break;
    }
    default:
        if (tracing(trace))
            trace->appendLine(QStringLiteral("  <<BAD COMMAND :("));
        break;
    }
    return effect;
}

long long resolutionSteps(int sensor, float value)
{
    const double v = sensor == 0 ? double(value) : RoundDecimal(value, -3);
    // A value from the line may be anything; only what a whole number can hold is shown.
    if (!std::isfinite(v) || std::fabs(v) >= 9.0e18)
        return 0;
    return static_cast<long long>(std::trunc(v));
}

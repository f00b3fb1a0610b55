#include "ConnectionSequence.h"

#include "ProtocolFrame.h"

using namespace kx;

std::optional<WizardWait> wizardWait(int32_t step)
{
    constexpr int kLimit = 10;
    switch (step) {
    case 2:
        return WizardWait{CMD_IDENT, 5, [](const DeviceState &d) { return d.deviceType != 0; }};
    case 3:
        return WizardWait{CMD_HWVER, kLimit, [](const DeviceState &d) { return d.hwVersion != 0; }};
    case 4:
        return WizardWait{CMD_SWVER, kLimit, [](const DeviceState &d) { return d.swVersion != 0; }};
    case 5:
        return WizardWait{CMD_SENSORS, kLimit, [](const DeviceState &d) { return d.Recv.presenceKnown; }};
    case 6:
        return WizardWait{CMD_ONTIME, kLimit, [](const DeviceState &d) { return d.Recv.OnTime; }};
    case 7:
        return WizardWait{CMD_MODE, kLimit, [](const DeviceState &d) { return d.Recv.mode; }};
    case 8:
        return WizardWait{CMD_PK1, kLimit, [](const DeviceState &d) { return d.Recv.PK1; }};
    case 9:
        return WizardWait{CMD_PK2, kLimit, [](const DeviceState &d) { return d.Recv.PK2; }};
    case 10:
        return WizardWait{CMD_LED, kLimit, [](const DeviceState &d) { return d.Recv.LED; }};
    case 11:
        return WizardWait{CMD_BEEP, kLimit, [](const DeviceState &d) { return d.Recv.Beep; }};
    case 12:
        return WizardWait{CMD_DECP, kLimit, [](const DeviceState &d) { return d.Recv.decp; }};
    case 13:
        return WizardWait{CMD_UZP0, kLimit, [](const DeviceState &d) { return d.Recv.UZP[0]; }};
    case 14:
        return WizardWait{CMD_UZP1, kLimit, [](const DeviceState &d) { return d.Recv.UZP[1]; }};
    case 15:
        return WizardWait{CMD_UZP2, kLimit, [](const DeviceState &d) { return d.Recv.UZP[2]; }};
    case 16:
        return WizardWait{CMD_OFFSET0, kLimit, [](const DeviceState &d) { return d.Recv.Offset[0]; }};
    case 17:
        return WizardWait{CMD_OFFSET1, kLimit, [](const DeviceState &d) { return d.Recv.Offset[1]; }};
    case 18:
        return WizardWait{CMD_OFFSET2, kLimit, [](const DeviceState &d) { return d.Recv.Offset[2]; }};
    case 19:
        return WizardWait{CMD_COEF0, kLimit, [](const DeviceState &d) { return d.Recv.COEF[0]; }};
    case 20:
        return WizardWait{CMD_COEF1, kLimit, [](const DeviceState &d) { return d.Recv.COEF[1]; }};
    case 21:
        return WizardWait{CMD_COEF2, kLimit, [](const DeviceState &d) { return d.Recv.COEF[2]; }};
    case 22:
        return WizardWait{CMD_RES0, kLimit, [](const DeviceState &d) { return d.Recv.Res[0]; }};
    case 23:
        return WizardWait{CMD_RES1, kLimit, [](const DeviceState &d) { return d.Recv.Res[1]; }};
    case 24:
        return WizardWait{CMD_RES2, kLimit, [](const DeviceState &d) { return d.Recv.Res[2]; }};
    default:
        return std::nullopt;
    }
}

void ConnectionSequence::forgetParameters(DeviceState &device)
{
    const ParamFlags kept = device.Recv;
    device.Recv = ParamFlags{};
    device.Recv.presenceKnown = kept.presenceKnown;
    std::copy(std::begin(kept.Res), std::end(kept.Res), std::begin(device.Recv.Res));
}

SequenceTick ConnectionSequence::tick(DeviceState &device, ConnectionState &connection)
{
    SequenceTick result;
    const int running = step_;
    const std::optional<WizardWait> wait = wizardWait(running);
    if (running == WizardIdentify) {
        device.deviceType = DeviceUnknown;
        result.request = CMD_IDENT;
        result.completedStep = WizardIdentify;
        setStep(WizardFirstWait);
    } else if (running == WizardFinish) {
        setStep(WizardIdle);
        connection.deviceFound = true;
        connection.portOpen = connection.baudChosen = connection.portChosen = true;
        // The instrument's values become the wanted ones, except the resolutions the panel holds.
        DeviceParams &set = device.Set;
        float resolutions[3];
        std::copy(std::begin(set.Res), std::end(set.Res), resolutions);
        set = device.Stan;
        std::copy(std::begin(resolutions), std::end(resolutions), std::begin(set.Res));
        result.completedStep = WizardFinish;
        result.finished = true;
    } else if (wait) {
        if (wait->arrived(device)) {
            if (running == WizardFirstWait && modelName(device.deviceType))
                device.namedType = device.deviceType;
            result.completedStep = running;
            setStep(running + 1);
        } else {
            result.request = wait->request;
        }
    }
    if (wait && ++ticks_ > wait->tickLimit)
        result.showFailure = true;
    return result;
}

QString versionText(int32_t version)
{
    QString text = QString::number(version);
    text.insert(1, QLatin1Char('.'));
    return text;
}

std::optional<QString> modelName(int32_t deviceType)
{
    switch (deviceType) {
    case DeviceKX520Q:
        return QStringLiteral("KX520Q");
    case DeviceVN6R:
        return QStringLiteral("VN6R");
    case DeviceKX520S:
        return QStringLiteral("KX520S");
    default:
        return std::nullopt;
    }
}

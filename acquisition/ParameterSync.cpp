#include "ParameterSync.h"

#include "NumberFormat.h"

#include <cmath>

namespace {

using namespace kx;

FrameData byteData(int32_t value)
{
    return {uint8_t(value), 0, 0, 0};
}

std::optional<SyncRequest> missingValue(const ParamFlags &recv)
{
    for (int i = 0; i < 3; ++i)
        if (!recv.UZP[i])
            return SyncRequest{false, uint8_t(CMD_UZP0 + i)};
    for (int i = 0; i < 3; ++i)
        if (!recv.Res[i])
            return SyncRequest{false, uint8_t(CMD_RES0 + i)};
    return std::nullopt;
}

std::optional<SyncRequest> resolutionDifference(const DeviceParams &set, const DeviceParams &stan)
{
    for (int i = 0; i < 3; ++i)
        if (!sameParameter(set.Res[i], stan.Res[i]))
            return SyncRequest{true, uint8_t(CMD_RES0 + i), packedData(set.Res[i])};
    return std::nullopt;
}

QString listingLine(const QString &member, const QString &wanted, const QString &reported)
{
    return QStringLiteral("Set.%1=%2 , Stan.%1=%3").arg(member, wanted, reported);
}

QString floatText(float value)
{
    return FormatGeneral(double(value));
}

} // namespace

bool sameParameter(float wanted, float reported)
{
    if (std::isnan(wanted) || std::isnan(reported))
        return false;
    return RoundDecimal(wanted, -3) == RoundDecimal(reported, -3);
}

std::optional<SyncRequest> firstDifference(const DeviceParams &set, const DeviceParams &stan)
{
    if (stan.LED != set.LED)
        return SyncRequest{true, CMD_LED, byteData(set.LED)};
    if (stan.OnTime != set.OnTime)
        return SyncRequest{true, CMD_ONTIME, packedData(set.OnTime)};
    if (!sameParameter(set.PK1, stan.PK1))
        return SyncRequest{true, CMD_PK1, packedData(set.PK1)};
    if (!sameParameter(set.PK2, stan.PK2))
        return SyncRequest{true, CMD_PK2, packedData(set.PK2)};
    if (stan.decp != set.decp)
        return SyncRequest{true, CMD_DECP, byteData(set.decp)};
    if (stan.Beep != set.Beep)
        return SyncRequest{true, CMD_BEEP, byteData(set.Beep)};
    if (stan.Q_NR != set.Q_NR)
        return SyncRequest{true, CMD_SENSORS, {0, 0, 0, uint8_t(set.Q_NR)}};
    if (stan.mode != set.mode)
        return SyncRequest{true, CMD_MODE, byteData(set.mode)};
    for (int i = 0; i < 3; ++i)
        if (!sameParameter(set.COEF[i], stan.COEF[i]))
            return SyncRequest{true, uint8_t(CMD_COEF0 + i), packedData(set.COEF[i])};
    for (int i = 0; i < 3; ++i)
        if (!sameParameter(set.UZP[i], stan.UZP[i]))
            return SyncRequest{true, uint8_t(CMD_UZP0 + i), packedData(set.UZP[i])};
    for (int i = 0; i < 3; ++i)
        if (!sameParameter(set.Offset[i], stan.Offset[i]))
            return SyncRequest{true, uint8_t(CMD_OFFSET0 + i), packedData(set.Offset[i])};
    return std::nullopt;
}

SyncTick ParameterSync::tick(DeviceState &device, bool deviceFound, bool GO, const ChannelState &channels)
{
    SyncTick result;
    if (!deviceFound)
        return result;
    // Resets ride along with whatever else this tick sends.
    for (int i = 0; i < 3; ++i) {
        if (!cycleResetPending[i])
            continue;
        if (channels.cycleCount[i] == 0.0f)
            cycleResetPending[i] = false;
        else
            result.requests.push_back({true, uint8_t(CMD_CLRCYC0 + i)});
    }
    if (device.panelRefreshPending) {
        // Cleared by whoever refreshes, once the panel shows the reported values.
        result.refreshPanel = true;
        return result;
    }
    if (auto request = firstDifference(device.Set, device.Stan)) {
        result.requests.push_back(*request);
        return result;
    }
    if (auto request = missingValue(device.Recv)) {
        result.requests.push_back(*request);
        return result;
    }
    if (auto request = resolutionDifference(device.Set, device.Stan)) {
        result.requests.push_back(*request);
        return result;
    }
    if (!GO && --pollCountdown < 0) {
        pollCountdown = kPollEveryTicks - 1;
        result.requests.push_back({false, CMD_SENSORS, {0, 0, 0, uint8_t(device.Set.Q_NR)}});
    }
    return result;
}

QStringList syncListing(const DeviceState &device, const AcquisitionState &acquisition)
{
    const DeviceParams &set = device.Set;
    const DeviceParams &stan = device.Stan;
    QStringList lines = {
        listingLine("LED", QString::number(set.LED), QString::number(stan.LED)),
        listingLine("OnTime", QString::number(uint32_t(set.OnTime)), QString::number(uint32_t(stan.OnTime))),
        listingLine("PK1", floatText(set.PK1), floatText(stan.PK1)),
        listingLine("PK2", floatText(set.PK2), floatText(stan.PK2)),
        listingLine("decp", QString::number(set.decp), QString::number(stan.decp)),
        listingLine("mode", QString::number(set.mode), QString::number(stan.mode)),
        listingLine("Beep", QString::number(set.Beep), QString::number(stan.Beep)),
        listingLine("Q_NR", QString::number(int32_t(set.Q_NR)), QString::number(int32_t(stan.Q_NR))),
    };
    for (int i = 0; i < 3; ++i)
        lines << listingLine(QStringLiteral("COEF[%1]").arg(i), floatText(set.COEF[i]), floatText(stan.COEF[i]));
    for (int i = 0; i < 3; ++i)
        lines << listingLine(QStringLiteral("UZP[%1]").arg(i), floatText(set.UZP[i]), floatText(stan.UZP[i]));
    for (int i = 0; i < 3; ++i)
        lines << listingLine(QStringLiteral("Res[%1]").arg(i), floatText(set.Res[i]), floatText(stan.Res[i]));
    lines << QStringLiteral("Device.GO=%1").arg(int(acquisition.GO))
          << QStringLiteral("Device.zapytanie=%1").arg(int(acquisition.zapytanie))
          << QStringLiteral("Device.bledna_transmisja=%1").arg(acquisition.bledna_transmisja);
    return lines;
}

std::optional<QString> statusText(bool deviceFound, bool GO)
{
    if (deviceFound)
        return GO ? QStringLiteral("praca") : QStringLiteral("gotowy do pracy");
    if (!GO)
        return QStringLiteral("nie wykryto");
    return std::nullopt;
}

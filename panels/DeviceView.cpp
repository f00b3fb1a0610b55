#include "DeviceView.h"

#include "Corrections.h"
#include "NumberFormat.h"
#include "ResolutionControls.h"
#include "SettingsPanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace {

QString sensorCaption(int sensor, bool present)
{
    return QStringLiteral("Czujnik nr %1 - %2").arg(sensor).arg(present ? "gotowy" : "nie wykryto");
}

} // namespace

DeviceView::DeviceView(const std::array<SensorControls, 3> &sensors, SettingsPanel &panel,
                       ResolutionControls &resolution, Corrections &corrections)
    : sensors(sensors), panel(panel), resolution(resolution), corrections(corrections)
{
}

void DeviceView::showReply(const ReplyEffect &effect, const DeviceState &device)
{
    const DeviceParams &stan = device.Stan;
    switch (effect.kind) {
    case ReplyEffect::Mode:
        panel.showMode(device);
        break;
    case ReplyEffect::ZeroPosition:
    case ReplyEffect::Zeroing:
        sensors[size_t(effect.sensor)].zeroPosition->setText(FormatParameter(stan.UZP[effect.sensor]));
        break;
    case ReplyEffect::Offset:
        sensors[size_t(effect.sensor)].offset->setText(FormatParameter(stan.Offset[effect.sensor]));
        break;
    case ReplyEffect::Multiplier:
        sensors[size_t(effect.sensor)].multiplier->setText(FormatParameter(stan.COEF[effect.sensor]));
        break;
    case ReplyEffect::Sensors:
        showSensors(device, effect.setActiveBoxes);
        break;
    case ReplyEffect::Resolution:
        resolution.showReported(effect.sensor, resolutionSteps(effect.sensor, stan.Res[effect.sensor]));
        break;
    default:
        break;
    }
    corrections.showReply(effect);
}

void DeviceView::showSensors(const DeviceState &device, bool setActiveBoxes)
{
    if (setActiveBoxes) {
        for (size_t i = 0; i < 3; ++i)
            sensors[i].active->setChecked(device.sensorPresent[i]);
    }
    for (int i = 0; i < 3; ++i)
        showPresence(i, device.sensorPresent[i]);
    panel.showSensorCount(device);
}

void DeviceView::showPresence(int sensor, bool present)
{
    sensors[size_t(sensor)].group->setTitle(sensorCaption(sensor, present));
}

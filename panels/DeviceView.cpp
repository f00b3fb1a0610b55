#include "DeviceView.h"

#include "EditColour.h"
#include "Mnoznikunit.h"
#include "NumberFormat.h"
#include "ResolutionControls.h"
#include "SettingsPanel.h"
#include "Wartoscunit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QString parameterText(float value)
{
    return FormatGeneral(RoundDecimal(value, -3));
}

QString sensorCaption(int sensor, bool present)
{
    return QStringLiteral("Czujnik nr %1 - %2").arg(sensor).arg(present ? "gotowy" : "nie wykryto");
}

} // namespace

DeviceView::DeviceView(const std::array<SensorControls, 3> &sensors, SettingsPanel &panel,
                       ResolutionControls &resolution, TWartoscForm &wartosc, TMnoznikForm &mnoznik)
    : sensors(sensors), panel(panel), resolution(resolution), wartosc(wartosc), mnoznik(mnoznik)
{
}

void DeviceView::showReply(const ReplyEffect &effect, const DeviceState &device)
{
    switch (effect.kind) {
    case ReplyEffect::Mode:
        panel.showMode(device);
        break;
    case ReplyEffect::ZeroPosition:
        showZeroPosition(effect.sensor, device, true);
        break;
    case ReplyEffect::Zeroing:
        showZeroPosition(effect.sensor, device, false);
        break;
    case ReplyEffect::Offset:
        showOffset(effect.sensor, device);
        break;
    case ReplyEffect::Multiplier:
        showMultiplier(effect.sensor, device);
        break;
    case ReplyEffect::Sensors:
        showSensors(device, effect.setActiveBoxes);
        break;
    case ReplyEffect::Resolution:
        resolution.showReported(effect.sensor, resolutionSteps(effect.sensor, device.Stan.Res[effect.sensor]));
        break;
    case ReplyEffect::Dropped:
    case ReplyEffect::StateOnly:
        break;
    }
}

void DeviceView::showZeroPosition(int sensor, const DeviceState &device, bool toDialog)
{
    const QString text = parameterText(device.Stan.UZP[sensor]);
    sensors[size_t(sensor)].zeroPosition->setText(text);
    // Sensor 0 reaches the dialog only while it edits the zero position.
    if (toDialog && (sensor != 0 || wartosc.Label1()->text() == QStringLiteral("Poz. zero ="))) {
        wartosc.Edit1()->setText(text);
        setEditState(wartosc.Edit1(), EditState::Confirmed);
    }
}

void DeviceView::showOffset(int sensor, const DeviceState &device)
{
    const QString text = parameterText(device.Stan.Offset[sensor]);
    sensors[size_t(sensor)].offset->setText(text);
    wartosc.Edit1()->setText(text);
    setEditState(wartosc.Edit1(), EditState::Confirmed);
}

void DeviceView::showMultiplier(int sensor, const DeviceState &device)
{
    const QString text = parameterText(device.Stan.COEF[sensor]);
    mnoznik.Edit6()->setText(text);
    setEditState(mnoznik.Edit6(), EditState::Confirmed);
    sensors[size_t(sensor)].multiplier->setText(text);
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

#include "Corrections.h"

#include "DeviceLink.h"
#include "EnterEdit.h"
#include "Mnoznikunit.h"
#include "NumberFormat.h"
#include "Wartoscunit.h"
#include "WindowPlacement.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kZeroCaption = QStringLiteral("Poz. zero =");
const QString kOffsetCaption = QStringLiteral("Offset =");

/// A typed correction as it is kept: rounded to thousandths.
std::optional<float> correctionValue(const QString &text)
{
    const auto value = ReadLocaleNumber(text);
    if (!value)
        return std::nullopt;
    return float(RoundDecimal(*value, -3));
}

} // namespace

Corrections::Corrections(const std::array<SensorControls, 3> &sensors, DeviceLink &link, TWartoscForm &wartosc,
                         TMnoznikForm &mnoznik, QObject *parent)
    : QObject(parent), sensors(sensors), link(link), wartosc(wartosc), mnoznik(mnoznik),
      valueEdit(new EnterEdit(wartosc.Edit1(), {}, [this](const QString &text) { enterValue(text); })),
      multiplierEdit(new EnterEdit(mnoznik.Edit6(), {}, [this](const QString &text) { enterMultiplier(text); }))
{
    for (int i = 0; i < 3; ++i) {
        const SensorControls &s = sensors[size_t(i)];
        connect(s.setZero, &QAbstractButton::clicked, this, [this, i] { openZeroDialog(i); });
        connect(s.enterOffset, &QAbstractButton::clicked, this, [this, i] { openOffsetDialog(i); });
        connect(s.multiply, &QAbstractButton::clicked, this, [this, i] { openMultiplierDialog(i); });
        connect(s.zeroNow, &QAbstractButton::clicked, this, [this, i] { zeroNow(i); });
        connect(s.reset, &QAbstractButton::clicked, this, [this, i] { reset(i); });
        connect(s.clearCycles, &QAbstractButton::clicked, this, [this, i] { clearCycles(i); });
        // Setting the box from code acts like a click: toggled runs the handler either way.
        connect(s.active, &QCheckBox::toggled, this, [this, i] { activeClick(i); });
    }
}

bool Corrections::editsZeroPosition() const
{
    return wartosc.Label1()->text() == kZeroCaption;
}

void Corrections::openZeroDialog(int sensor)
{
    openValueDialog(sensor, kZeroCaption);
}

void Corrections::openOffsetDialog(int sensor)
{
    openValueDialog(sensor, kOffsetCaption);
}

void Corrections::openValueDialog(int sensor, const QString &caption)
{
    if (wartosc.isVisible())
        return;
    const bool sameValue = wartosc.channel == sensor && wartosc.Label1()->text() == caption;
    wartosc.channel = sensor;
    wartosc.Label1()->setText(caption);
    // The text left from another sensor or quantity must not pass for this one's.
    if (!sameValue) {
        const DeviceParams &stan = link.device().Stan;
        valueEdit->showConfirmed(FormatParameter(editsZeroPosition() ? stan.UZP[sensor] : stan.Offset[sensor]));
    }
    bringUp(wartosc, wartosc.Edit1());
}

void Corrections::openMultiplierDialog(int sensor)
{
    if (mnoznik.isVisible())
        return;
    if (mnoznik.channel != sensor)
        multiplierEdit->showConfirmed(FormatParameter(link.device().Stan.COEF[sensor]));
    mnoznik.channel = sensor;
    bringUp(mnoznik, mnoznik.Edit6());
}

void Corrections::enterValue(const QString &text)
{
    const auto value = correctionValue(text);
    if (!value)
        return;
    const int sensor = wartosc.channel;
    const bool zeroPosition = editsZeroPosition();
    link.want([&](DeviceParams &set) { (zeroPosition ? set.UZP : set.Offset)[sensor] = *value; });
}

void Corrections::enterMultiplier(const QString &text)
{
    const int sensor = mnoznik.channel;
    const float kept = link.device().Set.COEF[sensor];
    const float wanted = correctionValue(text).value_or(kept);
    if (wanted == 0.0f) {
        // A zero multiplier is refused: the kept value stands, and so does its text.
        multiplierEdit->showConfirmed(FormatParameter(kept));
        return;
    }
    link.want([&](DeviceParams &set) { set.COEF[sensor] = wanted; });
}

void Corrections::zeroNow(int sensor)
{
    link.zeroSensor(sensor);
}

void Corrections::reset(int sensor)
{
    link.want([sensor](DeviceParams &set) {
        set.COEF[sensor] = 1.0f;
        set.UZP[sensor] = 0.0f;
        set.Offset[sensor] = 0.0f;
    });
    link.sendWrite(uint8_t(kx::CMD_UZP0 + sensor), kx::packedData(0.0f));
    link.sendWrite(uint8_t(kx::CMD_COEF0 + sensor), kx::packedData(1.0f));
    link.sendWrite(uint8_t(kx::CMD_OFFSET0 + sensor), kx::packedData(0.0f));
}

void Corrections::clearCycles(int sensor)
{
    link.requestCycleReset(sensor);
}

void Corrections::activeClick(int sensor)
{
    if (!link.device().sensorPresent[sensor])
        sensors[size_t(sensor)].active->setChecked(false);
}

void Corrections::showPresence(int sensor, bool present)
{
    // Otherwise the frozen last value would be shown, plotted and registered as measured.
    if (!present)
        sensors[size_t(sensor)].active->setChecked(false);
}

void Corrections::showReply(const ReplyEffect &effect)
{
    const DeviceParams &stan = link.device().Stan;
    switch (effect.kind) {
    case ReplyEffect::ZeroPosition:
        if (wartosc.channel == effect.sensor && editsZeroPosition())
            valueEdit->showConfirmed(FormatParameter(stan.UZP[effect.sensor]));
        break;
    case ReplyEffect::Offset:
        if (wartosc.channel == effect.sensor && !editsZeroPosition())
            valueEdit->showConfirmed(FormatParameter(stan.Offset[effect.sensor]));
        break;
    case ReplyEffect::Multiplier:
        if (mnoznik.channel == effect.sensor)
            multiplierEdit->showConfirmed(FormatParameter(stan.COEF[effect.sensor]));
        break;
    default:
        break;
    }
}

#include "LiveReadout.h"

#include "ChannelColours.h"
#include "DialBox.h"
#include "NumberFormat.h"
#include "SteadyLabel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <cmath>

namespace {

const QColor kLampOff(128, 0, 0);
const QColor kLampOn(0, 255, 0);

void styleField(QLineEdit *field, const QColor &colour, int pixelSize)
{
    QFont font(QStringLiteral("Verdana"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    field->setFont(font);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, colour);
    field->setPalette(palette);
    // Filled black to its corners, so that a new reading repaints the field alone, not the
    // group box around it.
    field->setAutoFillBackground(true);
}

void setLamp(QLabel *lamp, bool on)
{
    const QColor &colour = on ? kLampOn : kLampOff;
    if (lamp->palette().color(QPalette::Window) == colour)
        return;
    QPalette palette = lamp->palette();
    palette.setColor(QPalette::Window, colour);
    lamp->setPalette(palette);
}

void setText(QLineEdit *field, const QString &text)
{
    // Unchanged text repaints nothing.
    if (field->text() != text)
        field->setText(text);
}

} // namespace

LiveReadout::LiveReadout(const std::array<SensorControls, 3> &sensors, std::array<QLabel *, 2> lamps, Labels labels)
    : sensors(sensors), lamps(lamps), labels(labels)
{
    for (int i = 0; i < 3; ++i) {
        const SensorControls &sensor = sensors[size_t(i)];
        const QColor bright(ChannelColours::sensor[i]);
        styleField(sensor.value, bright, 48);
        styleField(sensor.cycles, bright, 19);
        sensor.gauge->setStyleSheet(QStringLiteral("QProgressBar { background: black; border: 1px solid gray; }"
                                                   "QProgressBar::chunk { background: %1; }")
                                        .arg(bright.name()));
        QPalette check = sensor.active->palette();
        check.setColor(QPalette::WindowText, QColor(ChannelColours::activeCaption[i]));
        sensor.active->setPalette(check);
    }
    QFont lampFont(QStringLiteral("Verdana"));
    lampFont.setBold(true);
    lampFont.setPixelSize(21);
    for (QLabel *lamp : lamps) {
        lamp->setFont(lampFont);
        setLamp(lamp, false);
    }
    // Rewritten at every tick: the rate is at most "1000,00000", the time a day's seconds.
    holdLabelSize(labels.rate, QStringLiteral("1000,00000"));
    holdLabelSize(labels.time, QStringLiteral("8888888,88"));
}

void LiveReadout::UpdateReadout(const Sample &sample, int32_t mode)
{
    last = sample;
    for (size_t i = 0; i < 3; ++i) {
        const SensorControls &sensor = sensors[i];
        if (!sensor.active->isChecked())
            continue;
        const float value = sample.value[i];
        // Out of range the bar is empty or full; a value that is not a number shows an empty bar.
        const double clamped = std::isnan(value) ? 0.0 : std::clamp(std::trunc(double(value)), 0.0, 360.0);
        sensor.gauge->setValue(int(clamped));
        const QString text = ReadingText(value);
        setText(sensor.value, text);
        setText(sensor.cycles, mode == 3 ? FormatGeneral(sample.cycles[i]) : QStringLiteral("-------"));
    }
    setLamp(lamps[0], sample.pk1);
    setLamp(lamps[1], sample.pk2);
}

QString LiveReadout::Timer1Timer(double measTime, bool continuous, int periodMs)
{
    const QString rate =
        DecimalComma(continuous || periodMs <= 0 ? QString() : QString::asprintf("%3.5f", 1000.0 / periodMs));
    labels.rate->setText(rate);
    labels.time->setText(DecimalComma(FormatGeneral(RoundDecimal(measTime, -2))));
    for (size_t i = 0; i < 3; ++i) {
        const SensorControls &sensor = sensors[i];
        if (sensor.active->isChecked())
            sensor.dial->showReading(last.value[i], QColor(ChannelColours::sensor[i]),
                                     QColor(ChannelColours::sensorDim[i]));
    }
    return rate;
}

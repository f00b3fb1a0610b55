#include "LiveReadout.h"

#include "DialBox.h"
#include "NumberFormat.h"
#include "ui_Main.h"

#include <cmath>

namespace {

const QColor kMaroon(128, 0, 0);
const QColor kLime(0, 255, 0);

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
}

} // namespace

LiveReadout::LiveReadout(Ui::TForm1 &ui) : ui(ui)
{
    channels_ = {{
        {ui.CheckBox1, ui.Edit1, ui.Edit22, ui.Edit23, ui.CGauge1, ui.PaintBox1, QColor(255, 0, 0), QColor(128, 0, 0)},
        {ui.CheckBox2, ui.Edit2, ui.Edit26, ui.Edit24, ui.CGauge2, ui.PaintBox2, QColor(0, 255, 0), QColor(0, 128, 0)},
        {ui.CheckBox3, ui.Edit3, ui.Edit27, ui.Edit25, ui.CGauge3, ui.PaintBox3, QColor(0, 255, 255),
         QColor(0, 128, 128)},
    }};
    // The "Aktywny" captions: red, green and teal.
    const QColor captionColours[] = {QColor(255, 0, 0), QColor(0, 128, 0), QColor(0, 128, 128)};
    for (int i = 0; i < 3; ++i) {
        const Channel &channel = channels_[i];
        styleField(channel.value, channel.bright, 48);
        styleField(channel.chartValue, channel.bright, 16);
        styleField(channel.cycles, channel.bright, 19);
        channel.gauge->setStyleSheet(QStringLiteral("QProgressBar { background: black; border: 1px solid gray; }"
                                                    "QProgressBar::chunk { background: %1; }")
                                         .arg(channel.bright.name()));
        QPalette check = channel.active->palette();
        check.setColor(QPalette::WindowText, captionColours[i]);
        channel.active->setPalette(check);
    }
    for (QFrame *panel : {ui.Panel6, ui.Panel7, ui.Panel8})
        panel->setStyleSheet(QStringLiteral("background: black;"));
    QFont lampFont(QStringLiteral("Verdana"));
    lampFont.setBold(true);
    lampFont.setPixelSize(21);
    for (QLabel *lamp : {ui.Panel1, ui.Panel2}) {
        lamp->setFont(lampFont);
        setLamp(lamp, false);
    }
}

QString LiveReadout::valueText(float value)
{
    return QString::asprintf("%3.4f", double(value));
}

void LiveReadout::setLamp(QWidget *lamp, bool on)
{
    QPalette palette = lamp->palette();
    palette.setColor(QPalette::Window, on ? kLime : kMaroon);
    lamp->setPalette(palette);
    lamp->repaint();
}

void LiveReadout::UpdateReadout(const ChannelState &state, int32_t mode)
{
    for (int i = 0; i < 3; ++i) {
        const Channel &channel = channels_[i];
        if (!channel.active->isChecked())
            continue;
        const float value = state.channelValue[i];
        // Out of range the bar is empty or full; a value that is not a number shows an empty bar.
        const double clamped = std::isnan(value) ? 0.0 : std::clamp(std::trunc(double(value)), 0.0, 360.0);
        channel.gauge->setValue(int(clamped));
        const QString text = valueText(value);
        channel.value->setText(text);
        channel.chartValue->setText(text);
        channel.cycles->setText(mode == 3 ? FormatGeneral(state.cycleCount[i]) : QStringLiteral("-------"));
    }
    setLamp(ui.Panel1, state.pk1State);
    setLamp(ui.Panel2, state.pk2State);
}

void LiveReadout::Timer1Timer(const AcquisitionState &acquisition, const ChannelState &state, bool continuous,
                              int periodMs)
{
    if (acquisition.idleStep == 0.0)
        return;
    const QString rate = continuous || periodMs <= 0 ? QString() : QString::asprintf("%3.5f", 1000.0 / periodMs);
    ui.Label51->setText(DecimalComma(rate));
    ui.Label52->setText(DecimalComma(rate));
    ui.Label40->setText(DecimalComma(FormatGeneral(RoundDecimal(acquisition.measTime, -2))));
    for (int i = 0; i < 3; ++i) {
        const Channel &channel = channels_[i];
        if (channel.active->isChecked())
            channel.dial->showReading(state.channelValue[i], channel.bright, channel.dim);
    }
}

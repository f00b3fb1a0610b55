#include "DeviceView.h"

#include "EditColour.h"
#include "Mnoznikunit.h"
#include "NumberFormat.h"
#include "ResolutionControls.h"
#include "StartDirPath.h"
#include "Wartoscunit.h"
#include "ui_Main.h"

#include <QPixmap>

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

DeviceView::DeviceView(Ui::TForm1 &ui, ResolutionControls &resolution, QString startDir)
    : ui(ui), resolution(resolution), startDir(std::move(startDir))
{
}

void DeviceView::attachDialogs(TWartoscForm *wartoscForm, TMnoznikForm *mnoznikForm)
{
    wartosc = wartoscForm;
    mnoznik = mnoznikForm;
}

QString DeviceView::modePicture(int item)
{
    return QStringLiteral("\\Grafika\\MODE_%1.jpg").arg(item == 0 ? 4 : item);
}

void DeviceView::showReply(const ReplyEffect &effect, const DeviceState &device)
{
    switch (effect.kind) {
    case ReplyEffect::Mode:
        showMode(device);
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

void DeviceView::showMode(const DeviceState &device)
{
    const int mode = device.Stan.mode;
    ui.ComboBox1->setCurrentIndex(mode >= 0 && mode <= 3 ? mode : -1);
    const int item = ui.ComboBox1->currentIndex();
    if (item >= 0) {
        // A missing or unreadable picture leaves the box empty rather than showing another mode.
        const QPixmap picture(resolveStartDirPath(startDir, modePicture(item)));
        if (picture.isNull())
            ui.Image2->clear();
        else
            ui.Image2->setPixmap(picture.scaled(ui.Image2->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    ui.Image2->setVisible(true);
}

void DeviceView::showZeroPosition(int sensor, const DeviceState &device, bool toDialog)
{
    QLabel *labels[] = {ui.Label4, ui.Label10, ui.Label16};
    const QString text = parameterText(device.Stan.UZP[sensor]);
    labels[sensor]->setText(text);
    labels[sensor]->repaint();
    // Sensor 0 reaches the dialog only while it edits the zero position.
    if (toDialog && wartosc && (sensor != 0 || wartosc->Label1()->text() == QStringLiteral("Poz. zero ="))) {
        wartosc->Edit1()->setText(text);
        setEditState(wartosc->Edit1(), EditState::Confirmed);
    }
}

void DeviceView::showOffset(int sensor, const DeviceState &device)
{
    QLabel *labels[] = {ui.Label5, ui.Label12, ui.Label18};
    const QString text = parameterText(device.Stan.Offset[sensor]);
    labels[sensor]->setText(text);
    if (wartosc) {
        wartosc->Edit1()->setText(text);
        setEditState(wartosc->Edit1(), EditState::Confirmed);
    }
}

void DeviceView::showMultiplier(int sensor, const DeviceState &device)
{
    QLabel *labels[] = {ui.Label6, ui.Label11, ui.Label17};
    const QString text = parameterText(device.Stan.COEF[sensor]);
    if (mnoznik) {
        mnoznik->Edit6()->setText(text);
        setEditState(mnoznik->Edit6(), EditState::Confirmed);
    }
    labels[sensor]->setText(text);
}

void DeviceView::showSensors(const DeviceState &device, bool setActiveBoxes)
{
    QCheckBox *boxes[] = {ui.CheckBox1, ui.CheckBox2, ui.CheckBox3};
    if (setActiveBoxes) {
        for (int i = 0; i < 3; ++i)
            boxes[i]->setChecked(device.sensorPresent[i]);
    }
    for (int i = 0; i < 3; ++i)
        showPresence(i, device.sensorPresent[i]);
    ui.Label65->setText(FormatGeneral(device.sensorCount));
}

void DeviceView::showPresence(int sensor, bool present)
{
    QGroupBox *groups[] = {ui.GroupBox1, ui.GroupBox2, ui.GroupBox3};
    groups[sensor]->setTitle(sensorCaption(sensor, present));
}

void DeviceView::refreshPanel(const DeviceState &device, const QString &deviceTypeName, const QString &hardwareText,
                              const QString &softwareText)
{
    const DeviceParams &stan = device.Stan;
    ui.Label63->setText(deviceTypeName.isEmpty() ? QStringLiteral("(brak)") : deviceTypeName);
    ui.Label64->setText(device.swVersion != 0 && device.hwVersion != 0
                            ? QStringLiteral("Hardware: ") + hardwareText + QStringLiteral(" , Software: ") +
                                  softwareText
                            : QStringLiteral("(brak)"));
    ui.ComboBox2->setCurrentIndex(stan.Q_NR <= 2 ? int(stan.Q_NR) : -1);
    ui.Edit5->setText(QString::number(stan.OnTime));
    ui.Edit6->setText(parameterText(stan.PK1));
    ui.Edit7->setText(parameterText(stan.PK2));
    ui.Edit4->setText(QString::number(stan.LED));
    ui.Edit9->setText(QString::number(stan.decp));
    ui.CheckBox15->setChecked(stan.Beep != 0);
    for (QWidget *box :
         std::initializer_list<QWidget *>{ui.ComboBox1, ui.Edit5, ui.Edit6, ui.Edit7, ui.Edit4, ui.Edit9})
        setEditState(box, EditState::Confirmed);
}

#include "SettingsPanel.h"

#include "ConnectionSequence.h"
#include "EditColour.h"
#include "NumberFormat.h"
#include "StartDirPath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

namespace {

QString parameterText(float value)
{
    return FormatGeneral(RoundDecimal(value, -3));
}

} // namespace

SettingsPanel::SettingsPanel(const SettingsControls &controls, QString startDir)
    : c(controls), startDir(std::move(startDir))
{
}

QString SettingsPanel::modePicture(int item)
{
    return QStringLiteral("\\Grafika\\MODE_%1.jpg").arg(item == 0 ? 4 : item);
}

void SettingsPanel::showMode(const DeviceState &device)
{
    const int mode = device.Stan.mode;
    c.mode->setCurrentIndex(mode >= 0 && mode <= 3 ? mode : -1);
    const int item = c.mode->currentIndex();
    if (item >= 0) {
        // A missing or unreadable picture leaves the box empty rather than showing another mode.
        const QPixmap picture(resolveStartDirPath(startDir, modePicture(item)));
        if (picture.isNull())
            c.modePicture->clear();
        else
            c.modePicture->setPixmap(
                picture.scaled(c.modePicture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    c.modePicture->setVisible(true);
}

void SettingsPanel::showSensorCount(const DeviceState &device)
{
    c.sensorCount->setText(FormatGeneral(device.sensorCount));
}

void SettingsPanel::refresh(const DeviceState &device, const QString &deviceTypeName)
{
    const DeviceParams &stan = device.Stan;
    c.deviceType->setText(deviceTypeName.isEmpty() ? QStringLiteral("(brak)") : deviceTypeName);
    c.deviceVersion->setText(device.swVersion != 0 && device.hwVersion != 0
                                 ? QStringLiteral("Hardware: ") + versionText(device.hwVersion) +
                                       QStringLiteral(" , Software: ") + versionText(device.swVersion)
                                 : QStringLiteral("(brak)"));
    c.activeSensor->setCurrentIndex(stan.Q_NR <= 2 ? int(stan.Q_NR) : -1);
    c.onTime->setText(QString::number(stan.OnTime));
    c.threshold1->setText(parameterText(stan.PK1));
    c.threshold2->setText(parameterText(stan.PK2));
    c.led->setText(QString::number(stan.LED));
    c.decimals->setText(QString::number(stan.decp));
    c.beep->setChecked(stan.Beep != 0);
    for (QWidget *box :
         std::initializer_list<QWidget *>{c.mode, c.onTime, c.threshold1, c.threshold2, c.led, c.decimals})
        setEditState(box, EditState::Confirmed);
}

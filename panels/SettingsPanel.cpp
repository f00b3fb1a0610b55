#include "SettingsPanel.h"

#include "ConnectionSequence.h"
#include "DeviceLink.h"
#include "EnterEdit.h"
#include "NumberFormat.h"
#include "SensorListDrawing.h"
#include "UpDown.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

SettingsPanel::SettingsPanel(const SettingsControls &controls, DeviceLink &link, ProgramFolders folders,
                             QObject *parent)
    : QObject(parent), c(controls), link(link), folders(std::move(folders))
{
    drawSensorList(c.activeSensor);
    connect(c.mode, &QComboBox::activated, this, &SettingsPanel::ComboBox1Click);
    connect(c.activeSensor, &QComboBox::activated, this, &SettingsPanel::ComboBox2Click);
    bindWholeNumber(c.onTime, c.onTimeArrows, &DeviceParams::OnTime);
    bindWholeNumber(c.led, c.ledArrows, &DeviceParams::LED);
    bindWholeNumber(c.decimals, c.decimalsArrows, &DeviceParams::decp);
    // The thresholds take input even while a refresh is pending.
    new EnterEdit(c.threshold1, {}, [this](const QString &text) { enterThreshold(&DeviceParams::PK1, text, true); });
    new EnterEdit(c.threshold2, {}, [this](const QString &text) { enterThreshold(&DeviceParams::PK2, text, false); });
    // The refresh's own change of the box acts like a click too.
    connect(c.beep, &QCheckBox::toggled, this, &SettingsPanel::CheckBox15Click);
    connect(c.defaults, &QAbstractButton::clicked, this, &SettingsPanel::BitBtn3Click);
}

bool SettingsPanel::guarded() const
{
    return link.device().panelRefreshPending;
}

void SettingsPanel::bindWholeNumber(QLineEdit *edit, UpDown *arrows, int32_t DeviceParams::*field)
{
    const auto take = [this, field](const QString &text) {
        if (const auto value = ReadWholeNumber(text))
            link.want([&](DeviceParams &set) { set.*field = *value; });
    };
    new EnterEdit(
        edit, [this] { return guarded(); }, take);
    arrows->setBuddy(edit);
    // The arrows have stepped the box before a guarded click is refused.
    connect(arrows, &UpDown::clicked, this, [this, edit, take] {
        if (guarded())
            return;
        setEditState(edit, EditState::Entered);
        take(edit->text());
    });
}

void SettingsPanel::enterThreshold(float DeviceParams::*field, const QString &text, bool rounded)
{
    if (const auto value = ReadLocaleNumber(text))
        link.want([&](DeviceParams &set) { set.*field = float(rounded ? RoundDecimal(*value, -3) : *value); });
}

void SettingsPanel::ComboBox1Click()
{
    if (!guarded())
        link.want([this](DeviceParams &set) { set.mode = c.mode->currentIndex(); });
}

void SettingsPanel::ComboBox2Click()
{
    if (!guarded() && c.activeSensor->currentIndex() >= 0)
        link.want([this](DeviceParams &set) { set.Q_NR = uint32_t(c.activeSensor->currentIndex()); });
}

void SettingsPanel::CheckBox15Click()
{
    link.want([this](DeviceParams &set) { set.Beep = c.beep->isChecked() ? 1 : 0; });
}

void SettingsPanel::BitBtn3Click()
{
    link.sendWrite(kx::CMD_DEFAULTS);
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
        const QPixmap picture(folders.shippedFile(modePicture(item)));
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

void SettingsPanel::refresh()
{
    const DeviceState &device = link.device();
    const DeviceParams &stan = device.Stan;
    const QString typeName = link.deviceTypeName();
    c.deviceType->setText(typeName.isEmpty() ? QStringLiteral("(brak)") : typeName);
    c.deviceVersion->setText(device.swVersion != 0 && device.hwVersion != 0
                                 ? QStringLiteral("Hardware: ") + versionText(device.hwVersion) +
                                       QStringLiteral(" , Software: ") + versionText(device.swVersion)
                                 : QStringLiteral("(brak)"));
    c.activeSensor->setCurrentIndex(stan.Q_NR <= 2 ? int(stan.Q_NR) : -1);
    // A box the user is typing in keeps the typed text and its colour.
    const auto show = [](QLineEdit *edit, const QString &text) {
        if (editState(edit) == EditState::Typing)
            return;
        edit->setText(text);
        setEditState(edit, EditState::Confirmed);
    };
    show(c.onTime, QString::number(stan.OnTime));
    show(c.threshold1, FormatParameter(stan.PK1));
    show(c.threshold2, FormatParameter(stan.PK2));
    show(c.led, QString::number(stan.LED));
    show(c.decimals, QString::number(stan.decp));
    c.beep->setChecked(stan.Beep != 0);
    setEditState(c.mode, EditState::Confirmed);
}

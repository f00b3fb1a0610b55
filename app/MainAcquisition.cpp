// The main window's acquisition controls, START/STOP/PAUSE, and the 250 ms tick that
// keeps the instrument's parameters in step with the wanted ones.
#include "Com_debugger.h"
#include "DeviceLink.h"
#include "Main.h"
#include "SettingsPanel.h"
#include "UserDialogs.h"
#include "ui_Main.h"

void TForm1::SpeedButton10Click()
{
    if (!link.connection().deviceFound) {
        dialogs.message(QStringLiteral("Nie odnaleziono urządznia!"));
        wizard1Click();
        return;
    }
    link.startAcquisition();
    lockSettingsGroups(true);
}

void TForm1::SpeedButton11Click()
{
    link.stopAcquisition();
    lockSettingsGroups(false);
}

void TForm1::SpeedButton12Click()
{
    link.pauseAcquisition();
    lockSettingsGroups(link.acquisition().GO, true);
}

void TForm1::lockSettingsGroups(bool locked, bool pauseOrder)
{
    const std::initializer_list<QGroupBox *> groups = {ui->GroupBox21, ui->GroupBox6,  ui->GroupBox7, ui->GroupBox8,
                                                       ui->GroupBox9,  ui->GroupBox10, ui->GroupBox18};
    const std::initializer_list<QGroupBox *> pausing = {ui->GroupBox6,  ui->GroupBox7,  ui->GroupBox8, ui->GroupBox9,
                                                        ui->GroupBox10, ui->GroupBox18, ui->GroupBox21};
    for (QGroupBox *group : pauseOrder ? pausing : groups)
        group->setEnabled(!locked);
    for (QGroupBox *group : groups) {
        QPalette palette = group->palette();
        palette.setColor(QPalette::Window, QApplication::palette().color(locked ? QPalette::Dark : QPalette::Button));
        group->setPalette(palette);
        group->setAutoFillBackground(true);
        group->setCursor(locked ? Qt::ForbiddenCursor : Qt::ArrowCursor);
    }
}

void TForm1::CheckBox18Click()
{
    const bool continuous = ui->CheckBox18->isChecked();
    ui->Label67->setVisible(continuous);
    ui->Label68->setVisible(continuous);
    link.setSampling(continuous, ui->CSpinEdit2->value());
}

void TForm1::Timer2Timer()
{
    const AcquisitionState &acquisition = link.acquisition();
    if (windows.monitor && windows.monitor->visible()) {
        windows.monitor->clearListing();
        for (const QString &line : syncListing(link.device(), acquisition))
            windows.monitor->appendListingLine(line);
    }
    if (const auto status = statusText(link.connection().deviceFound, acquisition.GO))
        ui->Label66->setText(*status);
    link.synchronise([this] { refreshPanel(); });
}

void TForm1::refreshPanel()
{
    panel->refresh();
}

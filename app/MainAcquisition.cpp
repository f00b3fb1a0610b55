// The main window's acquisition: idle pacing, START/STOP/PAUSE and the 250 ms
// synchronisation of the instrument's parameters.
#include "AsystenLaczenia.h"
#include "Com_debugger.h"
#include "DeviceView.h"
#include "Main.h"
#include "UserDialogs.h"
#include "ui_Main.h"

void TForm1::ApplicationIdle()
{
    const bool send = pacer.idlePass(ui->CheckBox18->isChecked(), ui->CSpinEdit2->value(), deviceState.deviceType);
    if (send)
        sender.SendRead(kx::CMD_MEASURE);
}

void TForm1::SpeedButton10Click()
{
    if (!connectionState.deviceFound) {
        dialogs.message(QStringLiteral("Nie odnaleziono urządznia!"));
        wizard1Click();
        return;
    }
    pacer.start();
    lockSettingsGroups(true);
}

void TForm1::SpeedButton11Click()
{
    pacer.stop();
    lockSettingsGroups(false);
}

void TForm1::SpeedButton12Click()
{
    pacer.pause();
    lockSettingsGroups(pacer.state().GO, true);
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
    ui->Label67->setVisible(ui->CheckBox18->isChecked());
    ui->Label68->setVisible(ui->CheckBox18->isChecked());
}

void TForm1::CheckBox15Click()
{
    deviceState.Set.Beep = ui->CheckBox15->isChecked() ? 1 : 0;
}

void TForm1::Timer2Timer()
{
    const AcquisitionState &acquisition = pacer.state();
    if (windows.monitor && windows.monitor->visible()) {
        windows.monitor->clearListing();
        for (const QString &line : syncListing(deviceState, acquisition))
            windows.monitor->appendListingLine(line);
    }
    if (const auto status = statusText(connectionState.deviceFound, acquisition.GO))
        ui->Label66->setText(*status);

    const SyncTick tick = sync.tick(deviceState, connectionState.deviceFound, acquisition.GO, channelState);
    for (const SyncRequest &request : tick.requests) {
        if (request.write)
            sender.SendWrite(request.cmd, request.data);
        else
            sender.SendRead(request.cmd, request.data);
    }
    if (tick.refreshPanel)
        refreshPanel();
}

void TForm1::refreshPanel()
{
    const QString hardware = windows.wizard ? windows.wizard->hardwareText() : QString();
    const QString software = windows.wizard ? windows.wizard->softwareText() : QString();
    view->refreshPanel(deviceState, deviceTypeName, hardware, software);
}

// The main window's ways to open and close the link: the wizard, the hidden service
// menu and the one-time connection at start-up.
#include "AsystenLaczenia.h"
#include "Com_debugger.h"
#include "Main.h"
#include "UserDialogs.h"
#include "ui_Main.h"

namespace {
const QString kOpenFailedTitle = QStringLiteral("Blad otwarcia portu COM");
}

void TForm1::wizard1Click()
{
    if (!windows.wizard)
        return;
    windows.wizard->show();
    windows.wizard->raise();
    windows.wizard->activateWindow();
}

void TForm1::debugger1Click()
{
    if (!windows.monitor)
        return;
    windows.monitor->show();
    windows.monitor->raise();
}

void TForm1::pocz1Click()
{
    ConnectionState &connection = connectionState;
    if (connection.portOpen) {
        dialogs.information(QStringLiteral("Jeden z portow juz zostal otwarty."), kOpenFailedTitle);
    } else if (!connection.portChosen) {
        dialogs.information(QStringLiteral("Nalezy wybrac port, ktory ma zostac otwarty."), kOpenFailedTitle);
    } else if (connection.baudChosen) {
        serialPort.setReadSize(64);
        if (serialPort.open(connection.portName().toLocal8Bit().constData(), connection.baudRate, 0, 8, false) != 0)
            dialogs.information(QStringLiteral("Nie mozna otworzyc portu %1").arg(connection.portName()),
                                kOpenFailedTitle);
    } else {
        dialogs.information(QStringLiteral("Nalezy wybrac predkosc transmisji."), kOpenFailedTitle);
    }
    pacer.state().GO = false;
}

void TForm1::rozcz1Click()
{
    if (connectionState.portOpen)
        serialPort.close();
    else
        dialogs.information(QStringLiteral("Zaden port jeszcze nie zostal otwarty."),
                            QStringLiteral("Blad zamkniecia portu COM"));
}

void TForm1::portItemClick(QAction *item)
{
    item->setChecked(true);
    if (item->isChecked()) {
        connectionState.setPortName(item->text());
        connectionState.portChosen = true;
    }
}

void TForm1::auto1Click()
{
    ui->auto1->setChecked(true);
}

void TForm1::Timer3Timer()
{
    Timer3->stop();
    wizard1Click();
    if (windows.wizard)
        windows.wizard->BitBtn3Click();
}

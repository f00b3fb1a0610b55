// The main window's ways to open and close the link: the wizard, the hidden service
// menu and the one-time connection at start-up.
#include "AsystenLaczenia.h"
#include "Com_debugger.h"
#include "DeviceLink.h"
#include "Main.h"
#include "PortFailureText.h"
#include "UserDialogs.h"
#include "WindowPlacement.h"
#include "ui_Main.h"

#include <QTimer>

namespace {
const QString kOpenFailedTitle = QStringLiteral("Blad otwarcia portu COM");
}

void TForm1::wizard1Click()
{
    if (!windows.wizard)
        return;
    bringUp(*windows.wizard);
}

void TForm1::debugger1Click()
{
    if (!windows.monitor)
        return;
    bringUp(*windows.monitor);
}

void TForm1::pocz1Click()
{
    const ConnectionState &connection = link.connection();
    if (connection.portOpen) {
        dialogs.information(QStringLiteral("Jeden z portow juz zostal otwarty."), kOpenFailedTitle);
    } else if (!connection.portChosen) {
        dialogs.information(QStringLiteral("Nalezy wybrac port, ktory ma zostac otwarty."), kOpenFailedTitle);
    } else if (connection.baudChosen) {
        if (link.open(connection.portName(), connection.baudRate, false) != 0)
            dialogs.information(
                PortFailureText::message(QStringLiteral("Nie mozna otworzyc portu %1").arg(connection.portName()),
                                         link.lastOpenFailure()),
                kOpenFailedTitle);
    } else {
        dialogs.information(QStringLiteral("Nalezy wybrac predkosc transmisji."), kOpenFailedTitle);
    }
    link.holdAcquisition();
}

void TForm1::rozcz1Click()
{
    if (link.connection().portOpen)
        link.close();
    else
        dialogs.information(QStringLiteral("Zaden port jeszcze nie zostal otwarty."),
                            QStringLiteral("Blad zamkniecia portu COM"));
}

void TForm1::portItemClick(QAction *item)
{
    item->setChecked(true);
    if (item->isChecked())
        link.choosePort(item->text());
}

void TForm1::auto1Click()
{
    ui->auto1->setChecked(true);
}

void TForm1::showPortOpened(bool quiet)
{
    if (!quiet)
        dialogs.information(QStringLiteral("Otwarto port %1\n Predkosc: %2 kb/s")
                                .arg(link.connection().portName(), QString::number(link.connection().baudRate)),
                            QStringLiteral("OK"));
}

void TForm1::showPortClosed()
{
    dialogs.information(QStringLiteral("Zamknieto port %1").arg(link.connection().portName()), QStringLiteral("OK"));
}

void TForm1::Timer3Timer()
{
    emit startUpConnection();
    Timer3->stop();
    wizard1Click();
    if (windows.wizard)
        windows.wizard->BitBtn3Click();
}

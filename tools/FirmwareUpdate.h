#pragma once

#include "RememberedFileDialog.h"

#include <QString>
#include <QStringList>
#include <chrono>

class ExternalLauncher;
class UserDialogs;

/// The part of the serial link the firmware update needs. The closed notification reaches
/// the link's state as a queued call on the user-interface thread, so portOpen() turns
/// false only while events are being processed.
class PortControl {
public:
    virtual ~PortControl() = default;
    virtual bool portOpen() const = 0;
    virtual void closePort() = 0;
};

/// A terminal window that stays open: the terminal program and the arguments that come
/// before the command it runs.
struct TerminalCommand {
    QString program;
    QStringList leadingArguments;
};

/// x-terminal-emulator where the system names one, otherwise xterm held open.
TerminalCommand systemTerminal();

/// Replaces the instrument's firmware: the user picks a HEX file, the link is closed, the
/// file is copied beside the bootloader programmer and the programmer is started in a
/// terminal window, without waiting for it.
class FirmwareUpdate {
public:
    /// How long the update waits for the port's closed notification before going on.
    static constexpr std::chrono::milliseconds kCloseDeadline{4001};

    FirmwareUpdate(UserDialogs &dialogs, ExternalLauncher &launcher, PortControl &port, QString startDir,
                   TerminalCommand terminal = systemTerminal(),
                   std::chrono::milliseconds closeDeadline = kCloseDeadline);

    void Aktualizacja1Click();

private:
    bool filesPresent(const QStringList &paths);
    void waitForPortClosed();
    bool copyHexFile(const QString &source, const QString &target);

    UserDialogs &dialogs;
    ExternalLauncher &launcher;
    PortControl &port;
    QString startDir;
    TerminalCommand terminal;
    std::chrono::milliseconds closeDeadline;
    RememberedFileDialog OpenDialog3;
};

#pragma once

#include "ProgramFolders.h"
#include "RememberedFileDialog.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>

class BackgroundJob;
class ExternalLauncher;
class QTimer;
class UserDialogs;

/// The part of the serial link the firmware update needs. The closed notification reaches
/// the link's state as a queued call on the user-interface thread, so portOpen() turns
/// false only once the event loop has turned.
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
/// terminal window, without waiting for it. Each step follows the previous one as events
/// arrive: the window never waits in a loop of its own.
class FirmwareUpdate : public QObject {
    Q_OBJECT

public:
    /// How long the update waits for the port's closed notification before going on.
    static constexpr std::chrono::milliseconds kCloseDeadline{4001};

    FirmwareUpdate(UserDialogs &dialogs, ExternalLauncher &launcher, PortControl &port, ProgramFolders folders,
                   TerminalCommand terminal = systemTerminal(),
                   std::chrono::milliseconds closeDeadline = kCloseDeadline);

    void Aktualizacja1Click();
    /// An update is under way: the port is closing or the file being copied.
    bool busy() const;

private:
    bool filesPresent(const QStringList &paths);
    /// Once the port is closed, or the deadline has passed: the copy.
    void portClosingTick();
    void copyHexFile();
    void startProgrammer();

    UserDialogs &dialogs;
    ExternalLauncher &launcher;
    PortControl &port;
    ProgramFolders folders;
    TerminalCommand terminal;
    std::chrono::milliseconds closeDeadline;
    RememberedFileDialog OpenDialog3;
    QString chosenHex;
    QString programmer;
    QString wrapper;
    QString hexCopy;
    QTimer *closing;
    QElapsedTimer closingSince;
    BackgroundJob *copy;
};

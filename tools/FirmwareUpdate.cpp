#include "FirmwareUpdate.h"

#include "ExternalLauncher.h"
#include "StartDirPath.h"
#include "UserDialogs.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

namespace {

FileDialogRequest hexFileRequest()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Wskaż plik HEX do wgrania");
    request.filter = QStringLiteral("EEPROM hex file | *.hex");
    request.defaultSuffix = QStringLiteral("hex");
    request.mustExist = true;
    return request;
}

} // namespace

TerminalCommand systemTerminal()
{
    if (!QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator")).isEmpty())
        return {QStringLiteral("x-terminal-emulator"), {QStringLiteral("-e")}};
    return {QStringLiteral("xterm"), {QStringLiteral("-hold"), QStringLiteral("-e")}};
}

FirmwareUpdate::FirmwareUpdate(UserDialogs &dialogs, ExternalLauncher &launcher, PortControl &port, QString startDir,
                               TerminalCommand terminal, std::chrono::milliseconds closeDeadline)
    : dialogs(dialogs), launcher(launcher), port(port), startDir(std::move(startDir)), terminal(std::move(terminal)),
      closeDeadline(closeDeadline), OpenDialog3(RememberedFileDialog::Open, hexFileRequest())
{
}

void FirmwareUpdate::Aktualizacja1Click()
{
    const auto chosen = OpenDialog3.execute(dialogs);
    if (!chosen)
        return;
    const QString programmer = resolveStartDirPath(startDir, QStringLiteral("\\Bootloader\\AVROSP"));
    const QString wrapper = resolveStartDirPath(startDir, QStringLiteral("\\bootloader\\run-programmer.sh"));
    // Checked before the link is closed: without them the update cannot happen at all.
    if (!filesPresent({programmer, wrapper}))
        return;
    if (port.portOpen()) {
        port.closePort();
        waitForPortClosed();
    }
    const QString hexCopy = resolveStartDirPath(startDir, QStringLiteral("\\bootloader\\program.hex"));
    if (!copyHexFile(chosen->path, hexCopy))
        return;
    const QStringList command = {QStringLiteral("sh"),
                                 wrapper,
                                 programmer,
                                 QStringLiteral("-dATmega32"),
                                 QStringLiteral("-pf"),
                                 QStringLiteral("-vf"),
                                 QStringLiteral("-if") + hexCopy,
                                 QStringLiteral("-e")};
    if (!launcher.startDetached(terminal.program, terminal.leadingArguments + command))
        dialogs.message(
            QStringLiteral("Nie można uruchomić programatora w oknie terminala (%1).").arg(terminal.program));
}

bool FirmwareUpdate::filesPresent(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!QFileInfo(path).isFile()) {
            dialogs.message(
                QStringLiteral("Nie znaleziono pliku %1.\nAktualizacja firmware nie została rozpoczęta.").arg(path));
            return false;
        }
    }
    return true;
}

void FirmwareUpdate::waitForPortClosed()
{
    // The closed notification arrives as a queued call, so the event loop has to keep turning
    // while the update waits; the user's input waits with it.
    if (!port.portOpen())
        return;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
        if (!port.portOpen())
            loop.quit();
    });
    QTimer::singleShot(closeDeadline, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool FirmwareUpdate::copyHexFile(const QString &source, const QString &target)
{
    // The old copy goes first, so that a failed copy can never leave it to be programmed.
    QFile old(target);
    QFile hex(source);
    const bool copied = (!old.exists() || old.remove()) && hex.copy(target);
    if (!copied) {
        const QString reason = old.error() != QFileDevice::NoError ? old.errorString() : hex.errorString();
        dialogs.message(QStringLiteral("Nie można skopiować pliku %1 do %2: %3\nProgramator nie został uruchomiony.")
                            .arg(source, target, reason));
    }
    return copied;
}

#include "FirmwareUpdate.h"

#include "BackgroundJob.h"
#include "ExternalLauncher.h"
#include "UserDialogs.h"

#include <QDir>
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

FirmwareUpdate::FirmwareUpdate(UserDialogs &dialogs, ExternalLauncher &launcher, PortControl &port,
                               ProgramFolders folders, TerminalCommand terminal,
                               std::chrono::milliseconds closeDeadline)
    : dialogs(dialogs), launcher(launcher), port(port), folders(std::move(folders)), terminal(std::move(terminal)),
      closeDeadline(closeDeadline), OpenDialog3(RememberedFileDialog::Open, hexFileRequest()),
      closing(new QTimer(this)), copy(new BackgroundJob(this))
{
    // The closed notification is a queued call: it is looked for as events go by.
    closing->setInterval(5);
    connect(closing, &QTimer::timeout, this, &FirmwareUpdate::portClosingTick);
    connect(copy, &BackgroundJob::finished, this, [this](const BackgroundJob::Result &result) {
        if (result.ok)
            startProgrammer();
        else
            this->dialogs.message(result.reason);
    });
}

bool FirmwareUpdate::busy() const
{
    return closing->isActive() || copy->running();
}

void FirmwareUpdate::Aktualizacja1Click()
{
    if (busy())
        return;
    const auto chosen = OpenDialog3.execute(dialogs);
    if (!chosen)
        return;
    chosenHex = chosen->path;
    const QString programmerFile = QStringLiteral("\\Bootloader\\AVROSP");
    programmer = folders.shippedFile(programmerFile);
    // The programmer is the user's to supply: when missing, the message names their own folder.
    if (!QFileInfo::exists(programmer))
        programmer = folders.workFile(programmerFile);
    wrapper = folders.shippedFile(QStringLiteral("\\bootloader\\run-programmer.sh"));
    hexCopy = folders.workFile(QStringLiteral("\\bootloader\\program.hex"));
    // Checked before the link is closed: without them the update cannot happen at all.
    if (!filesPresent({programmer, wrapper}))
        return;
    if (!port.portOpen()) {
        copyHexFile();
        return;
    }
    port.closePort();
    closingSince.start();
    closing->start();
}

void FirmwareUpdate::portClosingTick()
{
    if (port.portOpen() && closingSince.elapsed() < closeDeadline.count())
        return;
    closing->stop();
    copyHexFile();
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

void FirmwareUpdate::copyHexFile()
{
    copy->start([source = chosenHex, target = hexCopy](const BackgroundJob::Progress &) {
        // The old copy goes first, so that a failed copy can never leave it to be programmed.
        QFile old(target);
        QFile hex(source);
        // A fresh per-user working folder has no bootloader folder yet.
        QDir().mkpath(QFileInfo(target).absolutePath());
        if ((!old.exists() || old.remove()) && hex.copy(target))
            return BackgroundJob::Result{true, false, {}};
        const QString reason = old.error() != QFileDevice::NoError ? old.errorString() : hex.errorString();
        return BackgroundJob::Result{
            false, false,
            QStringLiteral("Nie można skopiować pliku %1 do %2: %3\nProgramator nie został uruchomiony.")
                .arg(source, target, reason)};
    });
}

void FirmwareUpdate::startProgrammer()
{
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

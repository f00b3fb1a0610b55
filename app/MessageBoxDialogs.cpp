#include "MessageBoxDialogs.h"

#include "UserSettings.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        // "JPEG files (*.jpg)" already names its pattern: shown once, not "... (*.jpg) (*.jpg)".
        const bool named = description.endsWith(QStringLiteral("(%1)").arg(pattern));
        filters << (named ? description : QStringLiteral("%1 (%2)").arg(description, pattern));
    }
    return filters;
}

void MessageBoxDialogs::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok);
    box.exec();
}

void MessageBoxDialogs::information(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok);
    box.exec();
}

bool MessageBoxDialogs::confirm(const QString &text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString fileDialogFolder(const QString &lastFolder, const QString &documents)
{
    for (const QString &folder : {lastFolder, documents}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

namespace {
const QString kFolderKey = QStringLiteral("FileDialogs/folder");
}

MessageBoxDialogs::MessageBoxDialogs() : lastFolder(UserSettings().value(kFolderKey).toString()) {}

std::optional<ChosenFile> MessageBoxDialogs::runFileDialog(const FileDialogRequest &request, bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = nameFilters(request.filter);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(
        fileDialogFolder(lastFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder = QFileInfo(path).absolutePath();
    UserSettings().setValue(kFolderKey, lastFolder);
    return ChosenFile{path, int(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

std::optional<ChosenFile> MessageBoxDialogs::saveFile(const FileDialogRequest &request)
{
    return runFileDialog(request, true);
}

std::optional<ChosenFile> MessageBoxDialogs::openFile(const FileDialogRequest &request)
{
    return runFileDialog(request, false);
}

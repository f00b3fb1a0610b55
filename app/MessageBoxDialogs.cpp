#include "MessageBoxDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

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

namespace {

std::optional<ChosenFile> runFileDialog(const FileDialogRequest &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen && request.mustExist ? QFileDialog::ExistingFile
                                                                            : QFileDialog::AnyFile);
    const QStringList filters = nameFilters(request.filter);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ChosenFile{dialog.selectedFiles().constFirst(),
                      int(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

} // namespace

std::optional<ChosenFile> MessageBoxDialogs::saveFile(const FileDialogRequest &request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<ChosenFile> MessageBoxDialogs::openFile(const FileDialogRequest &request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

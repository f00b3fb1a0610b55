#pragma once

#include "UserDialogs.h"

/// Modal message boxes and file dialogs of the running program.
class MessageBoxDialogs : public UserDialogs {
public:
    MessageBoxDialogs();

    void message(const QString &text) override;
    void information(const QString &text, const QString &caption) override;
    bool confirm(const QString &text) override;
    std::optional<ChosenFile> saveFile(const FileDialogRequest &request) override;
    std::optional<ChosenFile> openFile(const FileDialogRequest &request) override;

private:
    std::optional<ChosenFile> runFileDialog(const FileDialogRequest &request, bool save);

    /// Where the last file was chosen, in this run or an earlier one.
    QString lastFolder;
};

/// "Text|*.txt|Excel|*.xls" as the name filters of a Qt file dialog; a description that already
/// ends with its pattern in brackets is taken as it is.
QStringList nameFilters(const QString &filter);

/// The folder a file dialog that names no file opens in: where a file was chosen last if it is
/// still there, else the user's documents, else their home.
QString fileDialogFolder(const QString &lastFolder, const QString &documents);

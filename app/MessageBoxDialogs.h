#pragma once

#include "UserDialogs.h"

/// Modal message boxes and file dialogs of the running program.
class MessageBoxDialogs : public UserDialogs {
public:
    void message(const QString &text) override;
    void information(const QString &text, const QString &caption) override;
    bool confirm(const QString &text) override;
    std::optional<ChosenFile> saveFile(const FileDialogRequest &request) override;
    std::optional<ChosenFile> openFile(const FileDialogRequest &request) override;
};

/// "Text|*.txt|Excel|*.xls" as the name filters of a Qt file dialog; a description that already
/// ends with its pattern in brackets is taken as it is.
QStringList nameFilters(const QString &filter);

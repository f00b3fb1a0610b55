#pragma once

#include <QString>
#include <optional>

/// What a file dialog asks for. The filter is written as "description|pattern|description|pattern…"
/// with blanks around the bars allowed ("Text|*.txt|Excel|*.xls").
struct FileDialogRequest {
    QString title;
    QString filter;
    QString defaultSuffix; ///< added to a name typed without one ("jpg"); empty for none
    QString fileName;      ///< the name offered when the dialog opens
    bool overwritePrompt = false;
    bool mustExist = false; ///< open dialogs: the file and its folder must exist
};

/// The user's choice in a file dialog.
struct ChosenFile {
    QString path;
    int filterIndex = 0; ///< which description|pattern pair was selected, from 0
};

/// Message boxes, confirmations and file dialogs go through here, so that tests record
/// them instead of blocking.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    /// A plain message box with an OK button; returns when dismissed.
    virtual void message(const QString &text) = 0;
    /// A captioned message box with the information icon; returns when dismissed.
    virtual void information(const QString &text, const QString &caption) = 0;
    /// A Yes/No question; true for Yes.
    virtual bool confirm(const QString &text) = 0;
    /// Save and open dialogs; none when cancelled.
    virtual std::optional<ChosenFile> saveFile(const FileDialogRequest &request) = 0;
    virtual std::optional<ChosenFile> openFile(const FileDialogRequest &request) = 0;
};

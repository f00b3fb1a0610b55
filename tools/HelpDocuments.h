#pragma once

#include "ProgramFolders.h"

#include <QString>

class ExternalLauncher;
class UserDialogs;

/// Opens the program's help and the instrument's manual from the folder "Help" under the
/// working folder, with the desktop's viewers.
class HelpDocuments {
public:
    HelpDocuments(UserDialogs &dialogs, ExternalLauncher &launcher, ProgramFolders folders);

    /// The help: the page named like the old help file, with ".html", else index.html.
    void pomocprogramu1Click();
    /// The operator's manual (PDF).
    void instrukcjaKX520Q1Click();

private:
    /// Where the help page is found; empty when there is none.
    QString helpPage() const;
    QString manualPath() const;
    void open(const QString &path, const QString &what);

    UserDialogs &dialogs;
    ExternalLauncher &launcher;
    ProgramFolders folders;
};

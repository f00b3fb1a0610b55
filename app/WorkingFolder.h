#pragma once

#include "ProgramFolders.h"

#include <QString>
#include <memory>

class QLockFile;
class UserDialogs;

/// What the choice of the working folder depends on, read off the running system.
struct FolderFacts {
    QString programDir; ///< the folder of the executable
    bool programDirWritable = true;
    QString currentDir;
    QString dataHome;         ///< $XDG_DATA_HOME, by default ~/.local/share
    QString installedBinDir;  ///< where a package puts the executable (/usr/bin)
    QString installedDataDir; ///< where a package puts what ships with it (/usr/share/kx520s-pc)
};

FolderFacts runningFolderFacts();

/// An installed program (its folder not writable, or the package's own) works in the user's
/// data folder and reads its shipped files from the package's; any other works, as it always
/// did, in the current directory.
ProgramFolders chooseProgramFolders(const FolderFacts &facts);

/// Creates a per-user working folder and gives it the shipped config.ini on the first start.
/// Empty, or what went wrong, in words for the user.
QString prepareWorkingFolder(const ProgramFolders &folders);

/// One program per working folder: held from `take` for as long as this object lives.
class WorkingFolderLock {
public:
    explicit WorkingFolderLock(const QString &workDir);
    ~WorkingFolderLock();

    /// False, after telling the user, when a running program holds the folder. A lock left by
    /// a program that died is taken over; a folder the lock cannot be written in is run in
    /// without one, as it always was.
    bool take(UserDialogs &dialogs);

private:
    QString workDir;
    std::unique_ptr<QLockFile> lock;
};

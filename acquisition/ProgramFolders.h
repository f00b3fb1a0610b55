#pragma once

#include <QString>

/// Where the program keeps what it writes, and where it reads what ships with it. Run from a
/// build tree or any writable folder both are the working directory; an installed program works
/// in a folder of the user's and reads its shipped files from the system's data folder.
struct ProgramFolders {
    QString work;    ///< config.ini, the journal, the firmware copy: the program's startDir
    QString shipped; ///< mode pictures, help, manual, bootloader wrapper

    /// Both the current directory, as a program that is not installed works.
    static ProgramFolders current();

    /// A file of the working folder, written like "\config.ini".
    QString workFile(const QString &relativePath) const;
    /// A shipped file; a copy in the working folder wins, so that the user may supply one of
    /// their own (the firmware programmer, above all). Named under the shipped folder when
    /// found in neither.
    QString shippedFile(const QString &relativePath) const;
};

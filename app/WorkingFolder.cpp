#include "WorkingFolder.h"

#include "UserDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

FolderFacts runningFolderFacts()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    return {.programDir = programDir,
            .programDirWritable = QFileInfo(programDir).isWritable(),
            .currentDir = QDir::currentPath(),
            .dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            .installedBinDir = QStringLiteral(KX_INSTALLED_BIN_DIR),
            .installedDataDir = QStringLiteral(KX_INSTALLED_DATA_DIR)};
}

ProgramFolders chooseProgramFolders(const FolderFacts &facts)
{
    // Run by root from /usr/bin the folder is writable, yet nothing may be written under /usr.
    const bool installed =
        !facts.programDirWritable || QDir::cleanPath(facts.programDir) == QDir::cleanPath(facts.installedBinDir);
    if (!installed)
        return {facts.currentDir, facts.currentDir};
    return {QDir(facts.dataHome).filePath(QStringLiteral("KX520S-PC")), facts.installedDataDir};
}

QString prepareWorkingFolder(const ProgramFolders &folders)
{
    if (folders.work == folders.shipped)
        return {};
    if (!QDir().mkpath(folders.work))
        return QStringLiteral("Nie można utworzyć folderu roboczego %1.").arg(QDir::toNativeSeparators(folders.work));
    const QString config = folders.workFile(QStringLiteral("\\config.ini"));
    if (QFileInfo::exists(config))
        return {};
    // The shipped copy is read-only: the user's must not be.
    QFile shipped(folders.shippedFile(QStringLiteral("\\config.ini")));
    if (shipped.copy(config))
        QFile::setPermissions(config, QFile::permissions(config) | QFileDevice::WriteOwner);
    // Without a copy the program starts with its defaults and says it found no settings file.
    return {};
}

WorkingFolderLock::WorkingFolderLock(const QString &workDir)
    : workDir(workDir), lock(std::make_unique<QLockFile>(QDir(workDir).filePath(QStringLiteral("KX520S-PC.lock"))))
{
    // Stale only when its process is gone, however long the program has run.
    lock->setStaleLockTime(0);
}

WorkingFolderLock::~WorkingFolderLock() = default;

bool WorkingFolderLock::take(UserDialogs &dialogs)
{
    if (lock->tryLock() || lock->error() != QLockFile::LockFailedError)
        return true;
    dialogs.message(QStringLiteral("Program KX520S-PC już działa w folderze %1.\n"
                                   "Drugi egzemplarz nie zostanie uruchomiony.")
                        .arg(QDir::toNativeSeparators(workDir)));
    return false;
}

#include "ProgramFolders.h"

#include "StartDirPath.h"

#include <QDir>
#include <QFileInfo>

ProgramFolders ProgramFolders::current()
{
    return {QDir::currentPath(), QDir::currentPath()};
}

QString ProgramFolders::workFile(const QString &relativePath) const
{
    return resolveStartDirPath(work, relativePath);
}

QString ProgramFolders::shippedFile(const QString &relativePath) const
{
    const QString own = workFile(relativePath);
    if (shipped == work || QFileInfo::exists(own))
        return own;
    return resolveStartDirPath(shipped, relativePath);
}

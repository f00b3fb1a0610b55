#include "ExternalLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool SystemLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool SystemLauncher::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

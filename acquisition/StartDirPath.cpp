#include "StartDirPath.h"

#include <QDir>

QString resolveStartDirPath(const QString &startDir, const QString &relativePath)
{
    QString path = startDir;
    const QStringList components = QString(relativePath).replace('\\', '/').split('/', Qt::SkipEmptyParts);
    for (const QString &component : components) {
        QString match = component;
        if (!QFileInfo::exists(path + '/' + component)) {
            const QStringList entries = QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            for (const QString &entry : entries) {
                if (entry.compare(component, Qt::CaseInsensitive) == 0) {
                    match = entry;
                    break;
                }
            }
        }
        path += '/' + match;
    }
    return path;
}

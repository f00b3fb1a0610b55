#include "SavedFile.h"

#include <QSaveFile>

SaveResult saveFile(const QString &path, const std::function<bool(QIODevice &out, QString &reason)> &write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    QString reason;
    if (!write(file, reason)) {
        file.cancelWriting();
        return {false, reason.isEmpty() ? file.errorString() : reason};
    }
    // A write error inside the callback is remembered by QSaveFile and makes commit fail.
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

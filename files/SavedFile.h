#pragma once

#include <QString>

#include <functional>

class QIODevice;

/// Outcome of writing a file: on failure, `reason` says why in words a user can read.
struct SaveResult {
    bool ok = false;
    QString reason;
};

/// Writes `path` through QSaveFile: `write` streams the content into the device and
/// returns false to abandon the file (optionally filling `reason`). The file under
/// `path` is replaced only when everything was written; otherwise the old file, or
/// no file, stays there and nothing partial is left.
SaveResult saveFile(const QString &path, const std::function<bool(QIODevice &out, QString &reason)> &write);

#pragma once

#include <QString>

/// The file that a path written with backslashes ("\Grafika\MODE_1.jpg") names under
/// startDir, each component matched without regard to case. Components that match
/// nothing are kept as written.
QString resolveStartDirPath(const QString &startDir, const QString &relativePath);

#pragma once

#include <QByteArray>
#include <QString>

/// The text in the Windows-1250 code page, one byte per character.
/// A character the code page cannot hold becomes '?'.
QByteArray toWindows1250(const QString &text);

#pragma once

#include <QTimer>

/// Keeps the program from connecting by itself a second after start: with no settings
/// file it would try COM1, a real port on many machines.
inline void holdStartUpConnection(QObject &mainWindow)
{
    mainWindow.findChild<QTimer *>(QStringLiteral("Timer3"))->stop();
}

#pragma once

#include "ExternalLauncher.h"

#include <QList>
#include <QStringList>
#include <functional>

/// Records the programs and documents that would be launched.
class RecordingLauncher : public ExternalLauncher {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };
    QList<Start> started;
    QStringList opened;
    /// What the desktop answers; false plays a missing terminal or viewer.
    bool succeeds = true;
    /// Runs as a program is started, to look at the world at that moment.
    std::function<void()> whileStarting;

    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        started.append({program, arguments});
        if (whileStarting)
            whileStarting();
        return succeeds;
    }
    bool openDocument(const QString &path) override
    {
        opened.append(path);
        return succeeds;
    }
};

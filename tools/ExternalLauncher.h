#pragma once

#include <QString>
#include <QStringList>

/// Every external program and document the program starts goes through here, so that
/// tests record what would be launched instead of launching it.
class ExternalLauncher {
public:
    virtual ~ExternalLauncher() = default;
    /// Starts the program with the arguments, each passed as it is, without waiting for
    /// it; false when it could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
    /// Opens the file with the program the desktop associates with its type; false when
    /// the desktop refused.
    virtual bool openDocument(const QString &path) = 0;
};

/// Launches for real.
class SystemLauncher : public ExternalLauncher {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override;
    bool openDocument(const QString &path) override;
};

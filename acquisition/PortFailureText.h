#pragma once

#include "OpenFailure.h"
#include "PortList.h"

#include <QList>
#include <QString>
#include <QStringList>

/// A process that has a device open.
struct PortHolder {
    qint64 pid = 0;
    QString name; ///< its command name, as /proc/<pid>/comm gives it; empty when unreadable
};

/// What the system tells about a device whose open failed, looked up when the message is built.
struct DeviceFacts {
    QString account;           ///< the user this program runs as
    QString owner;             ///< the device's owner; empty when the device cannot be looked at
    QString group;             ///< the device's group; empty when the device cannot be looked at
    bool groupMayOpen = false; ///< the group may read and write the device
    bool joinPending = false;  ///< the account is listed in that group, but this session does not have it yet
    QList<PortHolder> holders; ///< processes that have the device open
    QStringList presentPorts;  ///< the names of the ports that do exist
};

namespace PortFailureText {

/// The line under an open-failure message: what is wrong, naming the device, and what to do.
/// Empty when nothing failed.
QString reasonLine(const OpenFailure &failure, const DeviceFacts &facts);

/// Looks up what the reason calls for: owner and group for a refused permission, the holders
/// of a busy port, the present ports for a missing one.
DeviceFacts gatherFacts(const OpenFailure &failure, const PortEnumerator &enumerate = PortList::systemPorts);

/// The processes with a descriptor under <procRoot>/<pid>/fd leading to the device.
QList<PortHolder> holdersOf(const QString &devicePath, const QString &procRoot = QStringLiteral("/proc"));

/// `firstLine`, and under it the reason line with the facts of this system.
QString message(const QString &firstLine, const OpenFailure &failure);

} // namespace PortFailureText

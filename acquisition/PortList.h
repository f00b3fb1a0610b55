#pragma once

#include <QList>
#include <QString>
#include <functional>

/// A serial port present on this machine, as the system describes it.
struct PresentPort {
    QString systemName; ///< the device's name under /dev: "ttyS0", "ttyUSB0"
    QString description;
    QString manufacturer;
    QString serialNumber;
};

using PortEnumerator = std::function<QList<PresentPort>()>;

/// One line of the port list.
struct PortEntry {
    QString name;        ///< what the port opens and config.ini keeps: "COM1", "ttyUSB0"
    QString displayText; ///< the name, and for a present port its description, maker and serial number
    bool present = false;
};

namespace PortList {

/// The longest name both the port and the connection state can hold.
int maxNameLength();

/// "ttyS<n>" is opened as "COM<n+1>"; other devices by their own name.
QString portNameFor(const QString &systemName);

/// The ports QSerialPortInfo finds.
QList<PresentPort> systemPorts();

/// Present ports under the names the port takes; a name the port cannot hold is left out.
QList<PortEntry> presentPorts(const PortEnumerator &enumerate = systemPorts);

/// The wizard's list: "COM1" ... "COM16", the present ones described, then the other present ports.
QList<PortEntry> wizardEntries(const PortEnumerator &enumerate = systemPorts);

} // namespace PortList

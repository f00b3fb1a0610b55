#include "PortList.h"

#include "ConnectionState.h"
#include "Tserial_event.h"

#include <QSerialPortInfo>
#include <QStringList>
#include <algorithm>

namespace PortList {

namespace {

constexpr int kStandardPorts = 16;
constexpr int kHighestCom = 999; // the port maps at most three digits of "COM<n>"

QString describe(const QString &name, const PresentPort &port)
{
    QStringList details;
    for (const QString &detail : {port.description, port.manufacturer})
        if (!detail.trimmed().isEmpty())
            details << detail.trimmed();
    if (!port.serialNumber.trimmed().isEmpty())
        details << QStringLiteral("nr seryjny %1").arg(port.serialNumber.trimmed());
    return details.isEmpty() ? name : name + QStringLiteral(" – ") + details.join(QStringLiteral(", "));
}

} // namespace

int maxNameLength()
{
    return std::min(Tserial_event::kPortNameSize - 1, ConnectionState::kPortNameLength);
}

QString portNameFor(const QString &systemName)
{
    if (!systemName.startsWith(QLatin1String("ttyS")))
        return systemName;
    const QString digits = systemName.mid(4);
    bool numbered = false;
    const int number = digits.toInt(&numbered);
    // Only where "COM<n+1>" leads back to this very device.
    const bool roundTrips = numbered && number >= 0 && number < kHighestCom && QString::number(number) == digits;
    return roundTrips ? QStringLiteral("COM%1").arg(number + 1) : systemName;
}

QList<PresentPort> systemPorts()
{
    QList<PresentPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({info.portName(), info.description(), info.manufacturer(), info.serialNumber()});
    return ports;
}

QList<PortEntry> presentPorts(const PortEnumerator &enumerate)
{
    QList<PortEntry> entries;
    for (const PresentPort &port : enumerate()) {
        const QString name = portNameFor(port.systemName);
        if (name.isEmpty() || name.size() > maxNameLength())
            continue;
        entries.append({name, describe(name, port), true});
    }
    return entries;
}

QList<PortEntry> wizardEntries(const PortEnumerator &enumerate)
{
    QList<PortEntry> entries;
    for (int number = 1; number <= kStandardPorts; ++number) {
        const QString name = QStringLiteral("COM%1").arg(number);
        entries.append({name, name, false});
    }
    for (const PortEntry &port : presentPorts(enumerate)) {
        const auto same = std::find_if(entries.begin(), entries.end(),
                                       [&port](const PortEntry &entry) { return entry.name == port.name; });
        if (same != entries.end())
            *same = port;
        else
            entries.append(port);
    }
    return entries;
}

} // namespace PortList

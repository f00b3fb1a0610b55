#include "PortFailureText.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace PortFailureText {

namespace {

/// Programs that take serial ports by themselves on desktop systems, with what to do about each.
struct Culprit {
    const char *name;
    const char *remedy;
};

constexpr Culprit kCulprits[] = {
    {"ModemManager", "ModemManager sprawdza nowe porty w poszukiwaniu modemów – zatrzymaj go "
                     "(sudo systemctl stop ModemManager) albo wyłącz na stałe (sudo systemctl disable ModemManager)."},
    {"brltty", "brltty (obsługa monitorów brajlowskich) przejmuje adaptery USB – jeśli go nie używasz, usuń go "
               "(sudo apt remove brltty) i podłącz adapter ponownie."},
};

const Culprit *culpritNamed(const QString &name)
{
    for (const Culprit &culprit : kCulprits)
        if (name == QLatin1String(culprit.name))
            return &culprit;
    return nullptr;
}

QString permissionLine(const QString &device, const DeviceFacts &facts)
{
    if (facts.group.isEmpty())
        return QStringLiteral("Brak uprawnień do %1: dodaj użytkownika do grupy, do której należy urządzenie "
                              "(zwykle dialout), i zaloguj się ponownie.")
            .arg(device);
    if (!facts.groupMayOpen)
        return QStringLiteral("Brak uprawnień do %1: otwierać go może tylko właściciel (%2), grupa %3 nie ma prawa "
                              "odczytu i zapisu; nadaj te prawa grupie urządzenia (np. regułą udev).")
            .arg(device, facts.owner, facts.group);
    if (facts.joinPending)
        return QStringLiteral("Brak uprawnień do %1 (grupa %2): użytkownik jest już w grupie %2, ale ta sesja "
                              "jeszcze tego nie widzi – zaloguj się ponownie.")
            .arg(device, facts.group);
    const QString command = facts.account.isEmpty()
                                ? QString()
                                : QStringLiteral(" (sudo usermod -aG %1 %2)").arg(facts.group, facts.account);
    return QStringLiteral("Brak uprawnień do %1 (grupa %2): dodaj użytkownika do grupy %2 i zaloguj się ponownie%3.")
        .arg(device, facts.group, command);
}

QString busyLine(const QString &device, const QList<PortHolder> &holders)
{
    if (holders.isEmpty())
        return QStringLiteral("Port %1 jest zajęty przez inny program; zamknij go i spróbuj ponownie.").arg(device);
    QStringList named;
    QStringList remedies;
    bool unknownHolder = false;
    for (const PortHolder &holder : holders) {
        named << (holder.name.isEmpty() ? QStringLiteral("PID %1").arg(holder.pid)
                                        : QStringLiteral("%1 (PID %2)").arg(holder.name).arg(holder.pid));
        const Culprit *culprit = culpritNamed(holder.name);
        if (!culprit)
            unknownHolder = true;
        else if (!remedies.contains(QString::fromUtf8(culprit->remedy)))
            remedies << QString::fromUtf8(culprit->remedy);
    }
    if (unknownHolder)
        remedies << (holders.size() == 1 ? QStringLiteral("Zamknij ten program i spróbuj ponownie.")
                                         : QStringLiteral("Zamknij pozostałe programy i spróbuj ponownie."));
    return QStringLiteral("Port %1 jest zajęty przez: %2. %3")
        .arg(device, named.join(QStringLiteral(", ")), remedies.join(QLatin1Char(' ')));
}

QString missingLine(const QString &device, int error, const QStringList &present)
{
    const QString what = error == ENOENT || error == ENOTDIR
                             ? QStringLiteral("Urządzenie %1 nie istnieje.").arg(device)
                             : QStringLiteral("Pod %1 nie ma działającego portu.").arg(device);
    if (present.isEmpty())
        return what +
               QStringLiteral(" Nie znaleziono żadnego portu szeregowego – sprawdź, czy adapter jest podłączony.");
    return what + QStringLiteral(" Dostępne porty: %1.").arg(present.join(QStringLiteral(", ")));
}

QString refusedNameLine(const OpenFailure &failure)
{
    const QString name = QString::fromLocal8Bit(failure.portName);
    if (name.isEmpty())
        return QStringLiteral("Nie podano nazwy portu; wpisz np. COM1 lub ttyUSB0.");
    if (failure.error == ENAMETOOLONG)
        return QStringLiteral("Nazwa portu „%1” jest za długa (najwyżej %2 znaków).")
            .arg(name)
            .arg(PortList::maxNameLength());
    return QStringLiteral("„%1” nie jest nazwą portu; wpisz np. COM1 lub ttyUSB0.").arg(name);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString userName(uid_t uid)
{
    const passwd *entry = getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

bool sessionHasGroup(gid_t gid)
{
    if (getegid() == gid)
        return true;
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? count : 0);
    if (count > 0 && getgroups(count, groups.data()) == count)
        for (gid_t member : groups)
            if (member == gid)
                return true;
    return false;
}

void lookUpOwnership(const QString &device, DeviceFacts &facts)
{
    struct stat info {};
    if (::stat(QFile::encodeName(device).constData(), &info) != 0)
        return;
    facts.owner = userName(info.st_uid);
    const group *owningGroup = getgrgid(info.st_gid);
    facts.group = owningGroup ? QString::fromLocal8Bit(owningGroup->gr_name) : QString::number(info.st_gid);
    facts.groupMayOpen = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    bool listed = false;
    const QByteArray account = facts.account.toLocal8Bit();
    for (char **member = owningGroup ? owningGroup->gr_mem : nullptr; member && *member; ++member)
        listed = listed || account == *member;
    facts.joinPending = listed && !sessionHasGroup(info.st_gid);
}

QString canonicalDevice(const QString &devicePath)
{
    char resolved[PATH_MAX];
    return ::realpath(QFile::encodeName(devicePath).constData(), resolved) ? QFile::decodeName(resolved) : devicePath;
}

QString linkTarget(const QByteArray &link)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    return length > 0 ? QFile::decodeName(QByteArray(target, length)) : QString();
}

bool holdsDevice(const QByteArray &fdDir, const QString &device)
{
    DIR *descriptors = ::opendir(fdDir.constData());
    if (!descriptors) // another user's process, or one that has just ended
        return false;
    bool holds = false;
    while (const dirent *entry = ::readdir(descriptors)) {
        if (entry->d_name[0] != '.' && linkTarget(fdDir + '/' + entry->d_name) == device) {
            holds = true;
            break;
        }
    }
    ::closedir(descriptors);
    return holds;
}

} // namespace

QString reasonLine(const OpenFailure &failure, const DeviceFacts &facts)
{
    const QString device = QFile::decodeName(QByteArray::fromStdString(failure.devicePath));
    switch (failure.reason) {
    case OpenFailureReason::None:
        return {};
    case OpenFailureReason::NoPermission:
        return permissionLine(device, facts);
    case OpenFailureReason::Busy:
        return busyLine(device, facts.holders);
    case OpenFailureReason::NoSuchDevice:
        return missingLine(device, failure.error, facts.presentPorts);
    case OpenFailureReason::NotSerial:
        return QStringLiteral("%1 nie jest portem szeregowym; wybierz inny port.").arg(device);
    case OpenFailureReason::NameRefused:
        return refusedNameLine(failure);
    case OpenFailureReason::Other:
        break;
    }
    if (device.isEmpty())
        return QStringLiteral("Błąd systemu: %1.").arg(systemError(failure.error));
    return QStringLiteral("Błąd portu %1: %2.").arg(device, systemError(failure.error));
}

DeviceFacts gatherFacts(const OpenFailure &failure, const PortEnumerator &enumerate)
{
    DeviceFacts facts;
    facts.account = userName(geteuid());
    const QString device = QFile::decodeName(QByteArray::fromStdString(failure.devicePath));
    switch (failure.reason) {
    case OpenFailureReason::NoPermission:
        lookUpOwnership(device, facts);
        break;
    case OpenFailureReason::Busy:
        facts.holders = holdersOf(device);
        break;
    case OpenFailureReason::NoSuchDevice:
        for (const PortEntry &port : PortList::presentPorts(enumerate))
            facts.presentPorts << port.name;
        break;
    default:
        break;
    }
    return facts;
}

QList<PortHolder> holdersOf(const QString &devicePath, const QString &procRoot)
{
    QList<PortHolder> holders;
    const QString device = canonicalDevice(devicePath);
    const QByteArray root = QFile::encodeName(procRoot);
    DIR *processes = ::opendir(root.constData());
    if (!processes)
        return holders;
    while (const dirent *entry = ::readdir(processes)) {
        bool numeric = false;
        const qint64 pid = QByteArray(entry->d_name).toLongLong(&numeric);
        if (!numeric || !holdsDevice(root + '/' + entry->d_name + "/fd", device))
            continue;
        QFile comm(QFile::decodeName(root + '/' + entry->d_name + "/comm"));
        const QString name =
            comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
        holders.append({pid, name});
    }
    ::closedir(processes);
    std::sort(holders.begin(), holders.end(), [](const PortHolder &a, const PortHolder &b) { return a.pid < b.pid; });
    return holders;
}

QString message(const QString &firstLine, const OpenFailure &failure)
{
    const QString reason = reasonLine(failure, gatherFacts(failure));
    return reason.isEmpty() ? firstLine : firstLine + QLatin1Char('\n') + reason;
}

} // namespace PortFailureText

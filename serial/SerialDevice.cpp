#include "SerialDevice.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace SerialDevice {

namespace {

bool speedConstant(int baudRate, speed_t &speed)
{
    static constexpr struct {
        int rate;
        speed_t constant;
    } table[] = {{1200, B1200},     {2400, B2400},     {4800, B4800},    {9600, B9600},
                 {19200, B19200},   {38400, B38400},   {57600, B57600},  {115200, B115200},
                 {230400, B230400}, {460800, B460800}, {921600, B921600}};
    for (const auto &entry : table) {
        if (entry.rate == baudRate) {
            speed = entry.constant;
            return true;
        }
    }
    return false;
}

bool sizeFlag(int dataBits, tcflag_t &flag)
{
    switch (dataBits) {
    case 5:
        flag = CS5;
        return true;
    case 6:
        flag = CS6;
        return true;
    case 7:
        flag = CS7;
        return true;
    case 8:
        flag = CS8;
        return true;
    default:
        return false;
    }
}

// With VMIN 1 a non-blocking read of an empty queue fails with EAGAIN, so that a
// read of 0 bytes can only mean the terminal hung up.
void setReturnAtOnce(termios &tio)
{
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

} // namespace

std::string devicePath(const char *portName)
{
    const std::string name = portName ? portName : "";
    if (name.empty() || name.find("..") != std::string::npos || name.front() == '/')
        return {};
    if (name.size() > 3 && name.compare(0, 3, "COM") == 0) {
        const std::string digits = name.substr(3);
        if (digits.find_first_not_of("0123456789") == std::string::npos && digits.size() <= 3) {
            const int number = std::atoi(digits.c_str());
            if (number >= 1)
                return "/dev/ttyS" + std::to_string(number - 1);
        }
    }
    return "/dev/" + name;
}

OpenFailureReason reasonForOpenError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return OpenFailureReason::NoPermission;
    case EBUSY:
    case EWOULDBLOCK:
        return OpenFailureReason::Busy;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    case EIO: // a device file with no port behind it (a ttyS without its chip)
        return OpenFailureReason::NoSuchDevice;
    case ENOTTY:
        return OpenFailureReason::NotSerial;
    case ENAMETOOLONG:
        return OpenFailureReason::NameRefused;
    default:
        return OpenFailureReason::Other;
    }
}

OpenFailureReason reasonForSettingsError(int error)
{
    switch (error) {
    case ENOTTY:
        return OpenFailureReason::NotSerial;
    case EIO:
    case ENXIO:
    case ENODEV:
        return OpenFailureReason::NoSuchDevice;
    default:
        return OpenFailureReason::Other;
    }
}

int openExclusive(const std::string &path, OpenFailure &failure)
{
    failure.devicePath = path;
    if (path.empty()) {
        failure.reason = OpenFailureReason::NameRefused;
        failure.error = 0;
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure.error = errno;
        failure.reason = reasonForOpenError(failure.error);
        return -1;
    }
    // A port is not shared: refuse one that another program holds. A lock or an
    // exclusive hold in place is "busy", whatever errno the refusing call chose.
    bool refused = false;
    if (!isatty(fd)) {
        failure.error = errno;
        failure.reason = failure.error == EIO ? OpenFailureReason::NoSuchDevice : OpenFailureReason::NotSerial;
        refused = true;
    } else if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        failure.error = errno;
        const bool held = failure.error == EWOULDBLOCK || failure.error == EBUSY;
        failure.reason = held ? OpenFailureReason::Busy : OpenFailureReason::Other;
        refused = true;
    }
    if (refused) {
        ::close(fd);
        return -1;
    }
    tcflush(fd, TCIFLUSH);
    return fd;
}

void closePort(int fd)
{
    ioctl(fd, TIOCNXCL);
    ::close(fd);
}

bool applyTimeouts(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    setReturnAtOnce(tio);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool applyLineSettings(int fd, int baudRate, int parityCode, int dataBits)
{
    termios tio{};
    speed_t speed;
    tcflag_t size;
    if (!speedConstant(baudRate, speed) || !sizeFlag(dataBits, size)) {
        errno = EINVAL;
        return false;
    }
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    tio.c_cflag |= size | CREAD | CLOCAL;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (parityCode == 1 || parityCode == 2) {
        tio.c_cflag |= PARENB | (parityCode == 1 ? PARODD : 0);
        tio.c_iflag |= INPCK;
    }
    setReturnAtOnce(tio);
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0)
        return false;
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

void raiseControlLines(int fd)
{
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIS, &lines); // a pseudo-terminal has no such lines; nothing to do then
}

bool readModemLines(int fd, ModemLines &lines)
{
    int status = 0;
    if (ioctl(fd, TIOCMGET, &status) != 0)
        return false;
    lines.ring = status & TIOCM_RI;
    lines.carrier = status & TIOCM_CD;
    return true;
}

} // namespace SerialDevice

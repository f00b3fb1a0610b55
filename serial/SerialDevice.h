#pragma once

#include "OpenFailure.h"

#include <string>

/// The host's side of a serial port: naming, opening and line settings on termios.
namespace SerialDevice {

/// "COMn" is /dev/ttyS(n-1); any other name is a device under /dev ("ttyUSB0", "pts/7").
/// An empty result means the name cannot denote a device.
std::string devicePath(const char *portName);

/// Opens the device for exclusive, non-blocking reading and writing; -1 on failure,
/// with the reason and errno of the failing step in `failure`.
int openExclusive(const std::string &path, OpenFailure &failure);

/// The reason behind an errno of open(2) on a device.
OpenFailureReason reasonForOpenError(int error);

/// Gives up the exclusive hold and closes: a far end that keeps the terminal open
/// (a simulated instrument) must not lock the next opener out.
void closePort(int fd);

/// The reason behind an errno of a failed line-settings call on an open device.
OpenFailureReason reasonForSettingsError(int error);

/// Reads return at once with what has arrived: the inter-byte gap is timed by the worker.
bool applyTimeouts(int fd);

/// Speed, data bits, parity by code (0 none, 1 odd, 2 even), one stop bit, raw, no flow control.
/// An unsupported speed or size fails with errno EINVAL.
bool applyLineSettings(int fd, int baudRate, int parityCode, int dataBits);

/// Raises DTR and RTS where the device has them.
void raiseControlLines(int fd);

struct ModemLines {
    bool ring = false;
    bool carrier = false;
};

/// False when the device has no modem lines (a pseudo-terminal, for one).
bool readModemLines(int fd, ModemLines &lines);

} // namespace SerialDevice

#pragma once

#include <string>

/// Why the last open of a port failed, in the terms a user can act on.
enum class OpenFailureReason : int {
    None,         ///< the last open succeeded, or none was tried
    NoSuchDevice, ///< no device file, or no port behind it
    NoPermission, ///< the account may not open the device
    Busy,         ///< another program holds the port (exclusive hold or lock)
    NotSerial,    ///< the device is not a terminal
    NameRefused,  ///< the name cannot denote a port the program may open
    Other,        ///< anything else; `error` tells what
};

struct OpenFailure {
    OpenFailureReason reason = OpenFailureReason::None;
    /// errno of the failing call; 0 when no call failed (a refused name).
    int error = 0;
    /// The device the name stands for; empty when the name denotes none.
    std::string devicePath;
    /// The name as it was asked for, before being cut to the port's storage.
    std::string portName;
};

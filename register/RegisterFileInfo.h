#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <functional>

class RegisterStore;

/// What the register files' header lines describe, read when the file is saved.
struct RegisterFileInfo {
    QString deviceTypeName = QStringLiteral("<nierozpoznane>");
    double measTime = 0;
    bool continuous = false; ///< "Próbkowanie ciągłe:"
    int periodMs = 100;      ///< the sampling period
    QDateTime now;
    /// Per channel: the sensor is present and its "Aktywny" box is checked.
    std::array<bool, 3> channelShown = {true, true, true};
};

/// The channels whose columns the files hold: those shown now, and any other that has a reading
/// in the table, so that saving never drops registered measurements.
std::array<bool, 3> writtenChannels(const RegisterFileInfo &info, const RegisterStore &store);

/// Told how many rows are written so far, out of how many; returns false to abandon the file.
using RegisterProgress = std::function<bool(qint64 done, qint64 total)>;

enum class RegisterWriteStatus { Complete, DeviceFailed, Cancelled };

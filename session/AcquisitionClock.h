#pragma once

#include <QDateTime>
#include <functional>

/// The clocks a session reads: the acquisition time as the device service keeps it (read for
/// a registration by hand, set when the chart starts or stops recording) and the local time
/// that registrations with a date or time show.
struct AcquisitionClock {
    std::function<double()> now;
    std::function<void(double seconds)> set;
    std::function<QDateTime()> localTime = [] { return QDateTime::currentDateTime(); };
    /// A run taken back goes on from its last time, the next START included.
    std::function<void(double seconds)> goOnFrom = [](double) {};
};

#pragma once

#include "Sample.h"
#include "SensorControls.h"

#include <QString>
#include <array>

class QLabel;
class QWidget;

/// The live indicators: per sample the value and cycle fields, gauges and output lamps;
/// per 50 ms tick the rate and time labels and the dials.
class LiveReadout {
public:
    /// The labels that show the sampling rate and the acquisition time.
    struct Labels {
        QLabel *rate; ///< beside "próbek na sekundę:"
        QLabel *time; ///< the acquisition time
    };

    LiveReadout(const std::array<SensorControls, 3> &sensors, std::array<QLabel *, 2> lamps, Labels labels);

    void UpdateReadout(const Sample &sample, int32_t mode);
    /// The 50 ms tick; the caller skips it until the pacing has measured its first step.
    /// Returns the sampling rate as shown.
    QString Timer1Timer(double measTime, bool continuous, int periodMs);

private:
    const std::array<SensorControls, 3> &sensors;
    std::array<QLabel *, 2> lamps;
    Labels labels;
    Sample last;
};

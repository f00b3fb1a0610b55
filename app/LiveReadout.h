#pragma once

#include "AcquisitionPacer.h"
#include "DeviceState.h"

#include <QColor>
#include <array>

namespace Ui {
class TForm1;
}
class DialBox;
class QCheckBox;
class QLineEdit;
class QProgressBar;
class QWidget;

/// The live indicators: per sample the value and cycle fields, gauges and output lamps;
/// per 50 ms tick the rate and time labels and the dials.
class LiveReadout {
public:
    explicit LiveReadout(Ui::TForm1 &ui);

    void UpdateReadout(const ChannelState &channels, int32_t mode);
    void Timer1Timer(const AcquisitionState &acquisition, const ChannelState &channels, bool continuous, int periodMs);

    /// The text a value field shows for a reading.
    static QString valueText(float value);

private:
    struct Channel {
        QCheckBox *active;
        QLineEdit *value;
        QLineEdit *chartValue;
        QLineEdit *cycles;
        QProgressBar *gauge;
        DialBox *dial;
        QColor bright;
        QColor dim;
    };

    void setLamp(QWidget *lamp, bool on);

    Ui::TForm1 &ui;
    std::array<Channel, 3> channels_;
};

#pragma once

#include "DeviceState.h"
#include "ReplyHandler.h"

#include <QString>

namespace Ui {
class TForm1;
}
class ResolutionControls;
class TMnoznikForm;
class TWartoscForm;

/// Shows in the windows what replies and measurement frames changed in the device state.
class DeviceView {
public:
    DeviceView(Ui::TForm1 &ui, ResolutionControls &resolution, QString startDir);

    void attachDialogs(TWartoscForm *wartosc, TMnoznikForm *mnoznik);

    void showReply(const ReplyEffect &effect, const DeviceState &device);
    /// The sensor's group caption after its presence changed.
    void showPresence(int sensor, bool present);
    /// The settings panel and the device labels from the reported values; the version
    /// texts are the wizard's.
    void refreshPanel(const DeviceState &device, const QString &deviceTypeName, const QString &hardwareText,
                      const QString &softwareText);

    /// The picture file of a mode list item: item 0 shows MODE_4, items 1 to 3 MODE_1 to MODE_3.
    static QString modePicture(int item);

private:
    void showMode(const DeviceState &device);
    void showZeroPosition(int sensor, const DeviceState &device, bool toDialog);
    void showOffset(int sensor, const DeviceState &device);
    void showMultiplier(int sensor, const DeviceState &device);
    void showSensors(const DeviceState &device, bool setActiveBoxes);

    Ui::TForm1 &ui;
    ResolutionControls &resolution;
    QString startDir;
    TWartoscForm *wartosc = nullptr;
    TMnoznikForm *mnoznik = nullptr;
};

#pragma once

#include "DeviceState.h"
#include "SettingsControls.h"

#include <QString>

/// The "Urządzenie" tab: shows what the instrument reports and puts what the user
/// chooses into the wanted values.
class SettingsPanel {
public:
    SettingsPanel(const SettingsControls &controls, QString startDir);

    /// The panel and the device labels from the reported values.
    void refresh(const DeviceState &device, const QString &deviceTypeName);
    /// The mode list and picture after a mode reply.
    void showMode(const DeviceState &device);
    void showSensorCount(const DeviceState &device);

    /// The picture file of a mode list item: item 0 shows MODE_4, items 1 to 3 MODE_1 to MODE_3.
    static QString modePicture(int item);

private:
    SettingsControls c;
    QString startDir;
};

#pragma once

#include "ProgramFolders.h"
#include "SettingsControls.h"

#include <QObject>
#include <QString>

class DeviceLink;
class EnterEdit;
class QLineEdit;
class UpDown;
struct DeviceParams;
struct DeviceState;

/// The "Urządzenie" tab: shows what the instrument reports and puts what the user
/// chooses into the wanted values. While the panel waits for a refresh from the reported
/// values, the controls that the refresh writes take no input.
class SettingsPanel : public QObject {
    Q_OBJECT

public:
    SettingsPanel(const SettingsControls &controls, DeviceLink &link, ProgramFolders folders,
                  QObject *parent = nullptr);

    /// The panel and the device labels from the reported values.
    void refresh();
    /// The mode list and picture after a mode reply.
    void showMode(const DeviceState &device);
    void showSensorCount(const DeviceState &device);

    void ComboBox1Click();
    void ComboBox2Click();
    void CheckBox15Click();
    /// "Przywróć ustawienia domyślne": sent at once.
    void BitBtn3Click();

    /// The picture file of a mode list item: item 0 shows MODE_4, items 1 to 3 MODE_1 to MODE_3.
    static QString modePicture(int item);

private:
    bool guarded() const;
    /// A whole-number box with its arrows, written into one wanted member.
    void bindWholeNumber(QLineEdit *edit, UpDown *arrows, int32_t DeviceParams::*field);
    void enterThreshold(float DeviceParams::*field, const QString &text, bool rounded);

    SettingsControls c;
    DeviceLink &link;
    ProgramFolders folders;
};

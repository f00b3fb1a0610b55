#pragma once

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class UpDown;

/// The controls of the "Urządzenie" tab, by what they are for.
struct SettingsControls {
    QComboBox *mode = nullptr;           ///< ComboBox1
    QComboBox *activeSensor = nullptr;   ///< ComboBox2
    QLabel *modePicture = nullptr;       ///< Image2
    QLineEdit *onTime = nullptr;         ///< Edit5
    UpDown *onTimeArrows = nullptr;      ///< UpDown3
    QLineEdit *threshold1 = nullptr;     ///< Edit6
    QLineEdit *threshold2 = nullptr;     ///< Edit7
    QLineEdit *led = nullptr;            ///< Edit4
    UpDown *ledArrows = nullptr;         ///< UpDown1
    QLineEdit *decimals = nullptr;       ///< Edit9
    UpDown *decimalsArrows = nullptr;    ///< UpDown4
    QCheckBox *beep = nullptr;           ///< CheckBox15
    QAbstractButton *defaults = nullptr; ///< BitBtn3
    QLabel *deviceType = nullptr;        ///< Label63
    QLabel *deviceVersion = nullptr;     ///< Label64
    QLabel *sensorCount = nullptr;       ///< Label65
};

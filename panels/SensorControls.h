#pragma once

class DialBox;
class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;

/// One sensor's controls on the main window, by what they are for.
struct SensorControls {
    QGroupBox *group = nullptr;
    QCheckBox *active = nullptr; ///< "Aktywny"
    QLineEdit *value = nullptr;
    QLineEdit *cycles = nullptr;
    QProgressBar *gauge = nullptr;
    DialBox *dial = nullptr;
    QLabel *zeroPosition = nullptr; ///< the instrument's values beside "poz. zero =", "offset =", "mnożnik ="
    QLabel *offset = nullptr;
    QLabel *multiplier = nullptr;
    QAbstractButton *setZero = nullptr; ///< "ustaw wirtualne zero..."
    QAbstractButton *enterOffset = nullptr;
    QAbstractButton *multiply = nullptr;
    QAbstractButton *zeroNow = nullptr; ///< "zeruj"
    QAbstractButton *reset = nullptr;   ///< "resetuj"
    QAbstractButton *clearCycles = nullptr;
};

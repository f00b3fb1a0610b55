#pragma once

#include "ReplyHandler.h"
#include "SensorControls.h"

#include <QObject>
#include <array>

class DeviceLink;
class EnterEdit;
class TMnoznikForm;
class TWartoscForm;

/// Each sensor's corrections and counters: the zero-position, offset and multiplier
/// dialogs, "zeruj", "resetuj", "wyzeruj cykle" and the "Aktywny" box. Only the wanted
/// values change here; the synchronisation sends them and the replies confirm them.
class Corrections : public QObject {
    Q_OBJECT

public:
    Corrections(const std::array<SensorControls, 3> &sensors, DeviceLink &link, TWartoscForm &wartosc,
                TMnoznikForm &mnoznik, QObject *parent = nullptr);

    /// "ustaw wirtualne zero..." and "wprowadź offset..."
    void openZeroDialog(int sensor);
    void openOffsetDialog(int sensor);
    /// "przemnóż..."
    void openMultiplierDialog(int sensor);
    /// "zeruj": the instrument takes the sensor's position as its zero.
    void zeroNow(int sensor);
    /// "resetuj": the three corrections back to neutral, offered to the port at once.
    void reset(int sensor);
    /// "wyzeruj cykle"
    void clearCycles(int sensor);
    /// "Aktywny": an absent sensor cannot be switched on.
    void activeClick(int sensor);

    /// What the dialogs show of a reply: only their own sensor's and quantity's value.
    void showReply(const ReplyEffect &effect);
    /// A sensor that disappears is no longer active.
    void showPresence(int sensor, bool present);

private:
    bool editsZeroPosition() const;
    void openValueDialog(int sensor, const QString &caption);
    void enterValue(const QString &text);
    void enterMultiplier(const QString &text);

    const std::array<SensorControls, 3> &sensors;
    DeviceLink &link;
    TWartoscForm &wartosc;
    TMnoznikForm &mnoznik;
    EnterEdit *valueEdit;
    EnterEdit *multiplierEdit;
};

#pragma once

#include <QString>
#include <cstdint>

/// The main window's view of the link to the instrument.
struct ConnectionState {
    static constexpr int kPortNameLength = 16;

    bool portOpen = false;
    bool portChosen = true;
    bool baudChosen = true;
    bool deviceFound = false;
    int32_t baudRate = 57600;

    const QString &portName() const { return portName_; }
    /// Longer names are cut to the name's storage.
    void setPortName(const QString &name) { portName_ = name.left(kPortNameLength); }

private:
    QString portName_ = QStringLiteral("COM1");
};

#pragma once

#include <QtGlobal>

/// One registration, kept compactly: the texts of its cells are made only when shown or saved.
/// The sample number is not stored, it is the row's position in the table.
struct RegisterRow {
    /// Which cells the registration filled, and the two output states.
    enum Flag : quint16 {
        SampleNumber = 1 << 0, ///< "numer próbki"
        Date = 1 << 1,         ///< "data"
        Time = 1 << 2,         ///< "godzina"
        MeasTime = 1 << 3,     ///< "czas pomiaru"
        Channel0 = 1 << 4,     ///< channel k's cell filled: Channel0 << k
        Reading0 = 1 << 7,     ///< channel k's cell holds a reading, not dashes: Reading0 << k
        Pk1 = 1 << 10,
        Pk2 = 1 << 11,
        Pk1On = 1 << 12,
        Pk2On = 1 << 13,
    };

    /// Local wall-clock date and time of the registration, as milliseconds since 1970-01-01T00:00
    /// read as UTC, so that later changes of the time zone do not move it.
    qint64 localMs = 0;
    double measTime = 0;
    float value[3] = {};
    quint16 flags = 0;

    bool has(quint16 flag) const { return (flags & flag) == flag; }
    bool channelFilled(int k) const { return has(quint16(Channel0 << k)); }
    bool channelReading(int k) const { return has(quint16(Reading0 << k)); }
};

static_assert(sizeof(RegisterRow) <= 32, "a register row must stay compact");

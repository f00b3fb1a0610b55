#pragma once

#include "SavedFile.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

/// What config.ini keeps between runs, grouped by the part of the window that applies it.
/// The groups follow the file's line order, so applying them group after group keeps it.
/// A value is unset when reading stopped before any number could be read for it.
struct Settings {
    /// Lines 1-3: the "Aktywny" box of each channel (CheckBox1..CheckBox3).
    std::array<std::optional<bool>, 3> channelActive;

    /// Lines 4-5.
    struct Sampling {
        std::optional<bool> continuous; ///< CheckBox18 "Próbkowanie ciągłe:"
        std::optional<int> periodMs;    ///< CSpinEdit2; read back within kMinPeriodMs..kMaxPeriodMs
        bool operator==(const Sampling &) const = default;
    } sampling;

    /// Lines 6-8.
    struct Paging {
        std::optional<bool> enabled;          ///< CheckBox17 "włącz stronicowanie"
        std::optional<bool> followLastPage;   ///< CheckBox19 "śledzenie ostatniej strony"
        std::optional<int16_t> pointsPerPage; ///< UpDown2 position; read back as the low 16 bits
        bool operator==(const Paging &) const = default;
    } paging;

    /// Lines 9-20.
    struct Registration {
        std::optional<bool> autoRegister;           ///< CheckBox16 "autoodczyt"
        std::array<std::optional<bool>, 3> channel; ///< CheckBox4, CheckBox5, CheckBox6
        std::optional<bool> pk1;                    ///< CheckBox10
        std::optional<bool> pk2;                    ///< CheckBox20
        std::optional<bool> date;                   ///< CheckBox7 "data"
        std::optional<bool> timeOfDay;              ///< CheckBox8 "godzina"
        /// CheckBox9 "czas pomiaru": written on lines 17 and 18, and line 18 is the one that counts.
        std::optional<bool> measurementTime;
        std::optional<bool> index;  ///< CheckBox11 "numer próbki"
        std::optional<bool> colour; ///< CheckBox12 "kolor"
        bool operator==(const Registration &) const = default;
    } registration;

    /// Line 21: the default port; empty once reading has failed before it.
    QString portName;

    /// Lines 22-29: height and offset of each output line on the chart, PK1..PK4.
    std::array<std::optional<int32_t>, 4> pkLineH;
    std::array<std::optional<int32_t>, 4> pkLineF;

    static constexpr int kMinPeriodMs = 10;
    static constexpr int kMaxPeriodMs = 10000000;

    bool operator==(const Settings &) const = default;
};

/// Reads config.ini by position: each line's key is skipped, never compared. Once a value
/// fails to read (not a number, or the file ends), every later number takes the last
/// number read successfully (nothing when none was) and the port name is empty.
Settings readSettings(const QByteArray &fileContents);

/// The 29 lines of config.ini in Windows-1250 with CR LF, check boxes as 1/0. An unset
/// value is written as 0. The port goes through portNameOrDefault, so that the positional
/// reader always finds exactly one word there.
QByteArray writeSettings(const Settings &settings);

/// The name itself, or "COM1" when it is empty or holds a blank.
QString portNameOrDefault(const QString &name);

/// Replaces the file at `path` with writeSettings(settings) only once it is complete.
SaveResult saveSettings(const QString &path, const Settings &settings);

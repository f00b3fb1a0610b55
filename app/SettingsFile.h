#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

/// The 29 positional lines of config.ini as read: each key is skipped, never compared.
struct ConfigValues {
    static constexpr int kLines = 29;
    static constexpr int kPortLine = 21;

    /// The number of line n (1-based) when one could be applied; the port line has none.
    std::array<std::optional<int>, kLines + 1> number;
    /// The default port text; empty once reading has failed before its line.
    QString port;
};

/// Reads the settings by position. Once a value fails to read, every later number takes
/// the last number read successfully (nothing when none was), and the port text is empty.
ConfigValues readConfigValues(const QByteArray &fileContents);

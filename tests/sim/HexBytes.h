#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

/// Frames as "F3 F3 0C 05 00 00 00 11", so that failures show readable bytes.
inline QString hex(const std::vector<uint8_t> &bytes)
{
    const QByteArray raw(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    return QString::fromLatin1(raw.toHex(' ').toUpper());
}

inline std::vector<uint8_t> bytes(const QString &hexText)
{
    const QByteArray raw = QByteArray::fromHex(hexText.toLatin1());
    return {raw.begin(), raw.end()};
}

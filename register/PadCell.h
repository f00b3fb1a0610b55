#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <string>
#include <string_view>

/// Appends a cell of the bordered ".txt" table: "|", max(0, width - 3 - length) blanks, the text
/// and " |". A text too long for the width widens the cell and is never cut.
void appendPadCell(std::string &out, int width, std::string_view text);

/// The cell appendPadCell writes, on its own.
inline QByteArray PadCell(int width, QByteArrayView text)
{
    std::string cell;
    appendPadCell(cell, width, std::string_view(text.data(), size_t(text.size())));
    return QByteArray(cell.data(), qsizetype(cell.size()));
}

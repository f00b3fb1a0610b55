#include "RegisterCellText.h"

#include "CFormatText.h"
#include "LocalDateTimeText.h"
#include "Windows1250.h"

#include <QDateTime>

#include <charconv>

namespace {

void appendWithComma(std::string &out, double x, int decimals)
{
    char text[kCTextCapacity];
    char *const end = writeCFixed(text, x, decimals);
    // DecimalComma on the C text; done in place, as this runs for every saved cell.
    for (char *c = text; c != end; ++c)
        if (*c == '.')
            *c = ',';
    out.append(text, end);
}

} // namespace

void RegisterCellText::appendAscii(std::string &out, qint64 number, const RegisterRow &row, int column)
{
    switch (column) {
    case IndexColumn:
        if (row.has(RegisterRow::SampleNumber)) {
            char digits[24];
            out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
            out += ' ';
        }
        return;
    case TimeColumn:
        if (row.has(RegisterRow::MeasTime))
            appendWithComma(out, row.measTime, 3);
        return;
    case Pk1Column:
    case Pk2Column: {
        const bool first = column == Pk1Column;
        if (row.has(first ? RegisterRow::Pk1 : RegisterRow::Pk2))
            out += row.has(first ? RegisterRow::Pk1On : RegisterRow::Pk2On) ? '1' : '0';
        return;
    }
    default:
        break;
    }
    const int k = column - Channel0Column;
    if (k < 0 || k > 2 || !row.channelFilled(k))
        return;
    if (row.channelReading(k))
        appendWithComma(out, double(row.value[k]), 4);
    else
        out += "-------------";
}

const RegisterCellText::DateTimeText &RegisterCellText::dateTime(const RegisterRow &row)
{
    const bool date = row.has(RegisterRow::Date);
    const bool time = row.has(RegisterRow::Time);
    const qint64 key = (row.localMs / 1000) * 4 + (date ? 1 : 0) + (time ? 2 : 0);
    if (key != dateTime_.key) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(row.localMs, Qt::UTC);
        QString text;
        if (date)
            text = shortDateText(local.date());
        if (date && time)
            text += QLatin1Char(' ');
        if (time)
            text += longTimeText(local.time());
        dateTime_ = {key, QLatin1Char('(') + text + QLatin1Char(')'), {}};
        dateTime_.bytes = toWindows1250(dateTime_.text).toStdString();
    }
    return dateTime_;
}

void RegisterCellText::appendBytes(std::string &out, qint64 number, const RegisterRow &row, int column)
{
    appendAscii(out, number, row, column);
    if (column == IndexColumn && (row.has(RegisterRow::Date) || row.has(RegisterRow::Time)))
        out += dateTime(row).bytes;
}

QString RegisterCellText::text(qint64 number, const RegisterRow &row, int column)
{
    scratch_.clear();
    appendAscii(scratch_, number, row, column);
    QString text = QString::fromLatin1(scratch_.data(), qsizetype(scratch_.size()));
    if (column == IndexColumn && (row.has(RegisterRow::Date) || row.has(RegisterRow::Time)))
        text += dateTime(row).text;
    return text;
}

#include "LocalDateTimeText.h"

#include <QLocale>

namespace {

// The long time format less its time-zone fields ("t" runs outside quotes) and the blanks left.
QString longTimeFormatWithoutZone()
{
    const QString format = QLocale().timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            kept += c;
    }
    return kept.trimmed();
}

} // namespace

QString shortDateText(QDate date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

QString longTimeText(QTime time)
{
    return QLocale().toString(time, longTimeFormatWithoutZone());
}

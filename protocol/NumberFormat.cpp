#include "NumberFormat.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

double RoundDecimal(double x, int digit)
{
    const double factor = std::pow(10.0, digit);
    return std::nearbyint(x / factor) * factor;
}

QString FormatGeneral(double x)
{
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (x == 0)
        return QStringLiteral("0");

    // 15 significant digits and the decimal exponent, e.g. "1.23450000000000e+02".
    char scientific[32];
    std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(x));
    QString digits = QString::fromLatin1(scientific, 1) + QString::fromLatin1(scientific + 2, 14);
    const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    const QString separator = QLocale().decimalPoint();
    QString text;
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            text = QStringLiteral("0") + separator + QString(-exponent - 1, QLatin1Char('0')) + digits;
        } else {
            const int integerDigits = exponent + 1;
            if (digits.size() <= integerDigits)
                text = digits + QString(integerDigits - digits.size(), QLatin1Char('0'));
            else
                text = digits.left(integerDigits) + separator + digits.mid(integerDigits);
        }
    } else {
        text = digits.left(1);
        if (digits.size() > 1)
            text += separator + digits.mid(1);
        text += QStringLiteral("E") + QString::number(exponent);
    }
    return x < 0 ? QStringLiteral("-") + text : text;
}

QString DecimalComma(QString text)
{
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<double> ReadLocaleNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ReadWholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString FormatParameter(float value)
{
    return FormatGeneral(RoundDecimal(value, -3));
}

QString ReadingText(float value)
{
    return QString::asprintf("%3.4f", double(value));
}

#pragma once

#include <QString>
#include <optional>

/// x rounded to the nearest multiple of 10^digit, halves to even, in double precision.
double RoundDecimal(double x, int digit);

/// The general text of a value: at most 15 significant digits, no trailing zeros, the
/// locale's decimal separator, fixed notation from 0.00001 up to 15 integer digits,
/// exponent notation ("1E-6") beyond.
QString FormatGeneral(double x);

/// A parameter of the instrument as the windows show it: rounded to thousandths first, so
/// that 12.346 stored as a float shows as 12.346 and not with the float's binary tail.
QString FormatParameter(float value);

/// A copy of the text with every "." replaced by ",".
QString DecimalComma(QString text);

/// A reading as the value fields show it: "%3.4f".
QString ReadingText(float value);

/// Text typed by the user as a decimal number in the user's locale ("2,5" in Polish);
/// none when it is not one.
std::optional<double> ReadLocaleNumber(const QString &text);

/// Text typed by the user as a whole decimal number; none when it is not one.
std::optional<int> ReadWholeNumber(const QString &text);

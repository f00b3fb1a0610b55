#pragma once

#include <QString>

/// x rounded to the nearest multiple of 10^digit, halves to even, in double precision.
double RoundDecimal(double x, int digit);

/// The general text of a value: at most 15 significant digits, no trailing zeros, the
/// locale's decimal separator, fixed notation from 0.00001 up to 15 integer digits,
/// exponent notation ("1E-6") beyond.
QString FormatGeneral(double x);

/// A copy of the text with every "." replaced by ",".
QString DecimalComma(QString text);

#pragma once

/// Room for any text written below: a double in fixed notation with a few decimals.
constexpr int kCTextCapacity = 400;

/// Writes x at `out` (kCTextCapacity chars) as the C format "%.<decimals>f" writes it ("%2.3f",
/// "%3.4f", "%3f" alike: their widths never pad): decimal point ".", whatever the locale, correctly
/// rounded. Returns the end of the text.
char *writeCFixed(char *out, double x, int decimals);

/// Writes x as the C format "%g" writes it: 6 significant digits, decimal point ".".
char *writeCGeneral(char *out, double x);

#include "CFormatText.h"

#include <charconv>

char *writeCFixed(char *out, double x, int decimals)
{
    return std::to_chars(out, out + kCTextCapacity, x, std::chars_format::fixed, decimals).ptr;
}

char *writeCGeneral(char *out, double x)
{
    return std::to_chars(out, out + kCTextCapacity, x, std::chars_format::general, 6).ptr;
}

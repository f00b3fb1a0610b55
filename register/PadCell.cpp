#include "PadCell.h"

#include <algorithm>

void appendPadCell(std::string &out, int width, std::string_view text)
{
    out += '|';
    out.append(size_t(std::max<ptrdiff_t>(0, ptrdiff_t(width) - 3 - ptrdiff_t(text.size()))), ' ');
    out += text;
    out += " |";
}

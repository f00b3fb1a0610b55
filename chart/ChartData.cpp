#include "ChartData.h"

#include <algorithm>

namespace {
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Lime = 0xFF00FF00;
constexpr QRgb Aqua = 0xFF00FFFF;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Orange = 0xFFFF8000;
} // namespace

ChartData::ChartData()
    : styles_{{
          {QStringLiteral("Czujnik 0"), Red, Red, false},
          {QStringLiteral("Czujnik 1"), Lime, Lime, false},
          {QStringLiteral("Czujnik 2"), Aqua, Aqua, false},
          {QStringLiteral("PK1"), White, White, true},
          // PK2 is drawn orange, yet its points are handed over white.
          {QStringLiteral("PK2"), Orange, White, true},
      }}
{
}

void ChartData::clear()
{
    for (auto &series : series_)
        series.clear();
}

std::size_t ChartData::longestSeries() const
{
    std::size_t longest = 0;
    for (const auto &series : series_)
        longest = std::max(longest, series.size());
    return longest;
}

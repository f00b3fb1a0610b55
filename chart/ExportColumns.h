#pragma once

#include "ChartData.h"

#include <QString>

/// Column titles shared by the spreadsheet and the CSV export.
namespace ExportColumns {
inline QString indexTitle()
{
    return QStringLiteral("Index");
}
inline QString colourTitle(const SeriesStyle &style)
{
    return style.title + QStringLiteral(" Kolor");
}
inline QString xTitle(const SeriesStyle &style)
{
    return style.title + QStringLiteral(" X");
}
inline QString yTitle(const SeriesStyle &style)
{
    return style.title + QStringLiteral(" Y");
}
} // namespace ExportColumns

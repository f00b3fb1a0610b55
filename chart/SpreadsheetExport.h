#pragma once

#include "SavedFile.h"

#include <QString>

#include <cstddef>

class ChartData;
class QIODevice;

/// Most points a series may have for the spreadsheet: its row numbers are 16-bit and row 0 holds the titles.
constexpr std::size_t SpreadsheetMaxPoints = 65534;

/// Writes all points of all series as a binary worksheet: a header row of column
/// titles, then one row per point position with the index, and per series an
/// optional colour column, an optional X column and the Y column. Refuses, with
/// the reason and without writing a byte, a chart with more than SpreadsheetMaxPoints
/// points in a series.
bool writeSpreadsheet(const ChartData &chart, QIODevice &out, QString &reason);

/// writeSpreadsheet into `path`; nothing is left under `path` when it fails.
SaveResult saveSpreadsheet(const ChartData &chart, const QString &path);

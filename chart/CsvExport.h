#pragma once

#include "SavedFile.h"

#include <QString>

class ChartData;
class QIODevice;

/// Writes all points of all series as comma-separated text in Windows-1250 with
/// CR LF line ends: a title line "Index,Czujnik 0 X,Czujnik 0 Y,…", then one line
/// per point position with the index and each series' x and y (empty fields where a
/// series has no point there). Numbers use a point and the shortest exact digits.
bool writeCsv(const ChartData &chart, QIODevice &out, QString &reason);

/// writeCsv into `path`; nothing is left under `path` when it fails.
SaveResult saveCsv(const ChartData &chart, const QString &path);

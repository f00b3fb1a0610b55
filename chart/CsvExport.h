#pragma once

#include "SavedFile.h"

#include <QString>

#include <functional>

class ChartData;
class QIODevice;

/// Writes all points of all series as comma-separated text in Windows-1250 with
/// CR LF line ends: a title line "Index,Czujnik 0 X,Czujnik 0 Y,…", then one line
/// per point position with the index and each series' x and y (empty fields where a
/// series has no point there). Numbers use a point and the shortest exact digits.
/// `progress` hears of the lines written now and then; false from it abandons the file.
using CsvProgress = std::function<bool(qint64 done, qint64 total)>;
bool writeCsv(const ChartData &chart, QIODevice &out, QString &reason, const CsvProgress &progress = {});

/// writeCsv into `path`; nothing is left under `path` when it fails or is abandoned.
SaveResult saveCsv(const ChartData &chart, const QString &path, const CsvProgress &progress = {});

#include "CsvExport.h"

#include "ChartData.h"
#include "ExportColumns.h"
#include "Windows1250.h"

#include <QIODevice>

#include <charconv>

namespace {
void appendNumber(QByteArray &line, double value)
{
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, result.ptr - digits);
}

bool writeLine(QIODevice &out, QByteArray &line, QString &reason)
{
    line.append("\r\n");
    const bool written = out.write(line) == line.size();
    line.clear();
    if (!written)
        reason = out.errorString();
    return written;
}
} // namespace

bool writeCsv(const ChartData &chart, QIODevice &out, QString &reason, const CsvProgress &progress)
{
    QString titles = ExportColumns::indexTitle();
    for (int i = 0; i < ChartData::SeriesCount; ++i)
        titles += u',' + ExportColumns::xTitle(chart.style(i)) + u',' + ExportColumns::yTitle(chart.style(i));
    QByteArray line = toWindows1250(titles);
    if (!writeLine(out, line, reason))
        return false;
    const std::size_t points = chart.longestSeries();
    for (std::size_t at = 0; at < points; ++at) {
        if (progress && at % 4096 == 0 && !progress(qint64(at), qint64(points))) {
            reason = QStringLiteral("eksport przerwano");
            return false;
        }
        appendNumber(line, double(at));
        for (int i = 0; i < ChartData::SeriesCount; ++i) {
            const PointSeries &series = chart.series(i);
            line.append(',');
            if (at < series.size())
                appendNumber(line, series.x(at));
            line.append(',');
            if (at < series.size())
                appendNumber(line, series.y(at));
        }
        if (!writeLine(out, line, reason))
            return false;
    }
    return true;
}

SaveResult saveCsv(const ChartData &chart, const QString &path, const CsvProgress &progress)
{
    return saveFile(path, [&](QIODevice &out, QString &reason) { return writeCsv(chart, out, reason, progress); });
}

#include "SpreadsheetExport.h"

#include "ChartData.h"
#include "ExportColumns.h"
#include "Windows1250.h"

#include <QIODevice>

#include <bit>
#include <cstdint>
#include <vector>

namespace {
// The flags are decided by this many leading points of the deciding series.
constexpr std::size_t InspectedPoints = 10001;
constexpr std::size_t MaxTextBytes = 255;

enum class Content { Colour, X, Y };

struct Column {
    int series;
    Content content;
};

// X values are written only when they are not simply the positions 0, 1, 2, ...
bool xIsPosition(const PointSeries &series)
{
    if (series.x(0) != 0 || series.x(series.size() - 1) != double(series.size() - 1))
        return false;
    for (std::size_t i = 0; i < series.size() && i < InspectedPoints; ++i) {
        if (series.x(i) != double(i))
            return false;
    }
    return true;
}

// The first series with a point decides for all; a series' points all carry its point colour.
std::vector<Column> columnsOf(const ChartData &chart)
{
    bool colours = false;
    bool xs = false;
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        if (!chart.series(i).empty()) {
            colours = chart.style(i).pointColour != chart.style(i).lineColour;
            xs = !xIsPosition(chart.series(i));
            break;
        }
    }
    std::vector<Column> columns;
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        if (colours)
            columns.push_back({i, Content::Colour});
        if (xs)
            columns.push_back({i, Content::X});
        columns.push_back({i, Content::Y});
    }
    return columns;
}

class SheetBytes {
public:
    void word(std::uint16_t w)
    {
        bytes_.append(char(w & 0xFF));
        bytes_.append(char(w >> 8));
    }
    void cellHead(std::uint16_t code, std::uint16_t dataLength, std::uint16_t row, std::uint16_t column)
    {
        word(code);
        word(std::uint16_t(7 + dataLength));
        word(row);
        word(column);
        bytes_.append(3, '\0');
    }
    void number(std::uint16_t row, std::uint16_t column, double value)
    {
        // A point without a value is an empty cell.
        if (value != value) {
            empty(row, column);
            return;
        }
        cellHead(0x0003, 8, row, column);
        const auto bits = std::bit_cast<std::uint64_t>(value);
        for (int shift = 0; shift < 64; shift += 8)
            bytes_.append(char((bits >> shift) & 0xFF));
    }
    void text(std::uint16_t row, std::uint16_t column, const QString &value)
    {
        const QByteArray encoded = toWindows1250(value).left(MaxTextBytes);
        cellHead(0x0004, std::uint16_t(1 + encoded.size()), row, column);
        bytes_.append(char(encoded.size()));
        bytes_.append(encoded);
    }
    void empty(std::uint16_t row, std::uint16_t column) { cellHead(0x0001, 0, row, column); }
    void raw(const char *data, int size) { bytes_.append(data, size); }

    bool flushTo(QIODevice &out, QString &reason)
    {
        const bool written = out.write(bytes_) == bytes_.size();
        bytes_.clear();
        if (!written)
            reason = out.errorString();
        return written;
    }
    bool full() const { return bytes_.size() >= 1 << 16; }

private:
    QByteArray bytes_;
};

QString colourText(QRgb colour)
{
    return QString::asprintf("#%.2x%.2x%.2x", qRed(colour), qGreen(colour), qBlue(colour));
}

QString titleOf(const ChartData &chart, const Column &column)
{
    const SeriesStyle &style = chart.style(column.series);
    switch (column.content) {
    case Content::Colour:
        return ExportColumns::colourTitle(style);
    case Content::X:
        return ExportColumns::xTitle(style);
    case Content::Y:
        break;
    }
    return ExportColumns::yTitle(style);
}

void pointCell(SheetBytes &sheet, const ChartData &chart, const Column &column, std::uint16_t row,
               std::uint16_t sheetColumn, std::size_t at)
{
    const PointSeries &series = chart.series(column.series);
    const bool present = at < series.size();
    switch (column.content) {
    case Content::Colour:
        sheet.text(row, sheetColumn, present ? colourText(chart.style(column.series).pointColour) : QString());
        return;
    case Content::X:
        present ? sheet.number(row, sheetColumn, series.x(at)) : sheet.empty(row, sheetColumn);
        return;
    case Content::Y:
        present ? sheet.number(row, sheetColumn, series.y(at)) : sheet.empty(row, sheetColumn);
        return;
    }
}
} // namespace

bool writeSpreadsheet(const ChartData &chart, QIODevice &out, QString &reason)
{
    const std::size_t points = chart.longestSeries();
    if (points > SpreadsheetMaxPoints) {
        reason = QStringLiteral("Arkusz mieści najwyżej 65 534 punkty serii, a wykres ma ich %1. "
                                "Zapisz dane wykresu jako CSV: ten format nie ma takiego limitu.")
                     .arg(points);
        return false;
    }
    const std::vector<Column> columns = columnsOf(chart);
    SheetBytes sheet;
    static constexpr char start[] = {0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
    sheet.raw(start, sizeof start);
    for (const std::size_t word : {std::size_t(0x0200), std::size_t(10), std::size_t(0), points + 1, std::size_t(0),
                                   columns.size() + 1, std::size_t(0)})
        sheet.word(std::uint16_t(word));
    sheet.text(0, 0, ExportColumns::indexTitle());
    for (std::size_t c = 0; c < columns.size(); ++c)
        sheet.text(0, std::uint16_t(c + 1), titleOf(chart, columns[c]));
    for (std::size_t at = 0; at < points; ++at) {
        const auto row = std::uint16_t(at + 1);
        sheet.number(row, 0, double(at));
        for (std::size_t c = 0; c < columns.size(); ++c)
            pointCell(sheet, chart, columns[c], row, std::uint16_t(c + 1), at);
        if (sheet.full() && !sheet.flushTo(out, reason))
            return false;
    }
    static constexpr char end[] = {0x0A, 0x00, 0x00, 0x00};
    sheet.raw(end, sizeof end);
    return sheet.flushTo(out, reason);
}

SaveResult saveSpreadsheet(const ChartData &chart, const QString &path)
{
    return saveFile(path, [&chart](QIODevice &out, QString &reason) { return writeSpreadsheet(chart, out, reason); });
}

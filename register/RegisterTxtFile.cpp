#include "CFormatText.h"
#include "LocalDateTimeText.h"
#include "PadCell.h"
#include "RegisterCellText.h"
#include "RegisterFiles.h"
#include "RegisterRowStream.h"
#include "RegisterStore.h"
#include "Windows1250.h"

namespace {

constexpr int kCellWidth = 15;
constexpr int kPkWidth = 8;

QByteArray txtHead(const RegisterFileInfo &info, qint64 samples)
{
    char duration[kCTextCapacity];
    char *const durationEnd = writeCGeneral(duration, info.measTime);
    QString head = QStringLiteral("typ urządzenia= \t") + info.deviceTypeName + "\r\n" +
                   QStringLiteral("data pomiaru= \t\t\"") + shortDateText(info.now.date()) + "\"\r\n" +
                   QStringLiteral("godzina pomiaru= \t\"") + longTimeText(info.now.time()) + "\"\r\n" +
                   QStringLiteral("czas trwania pomiaru= \t") + QString::fromLatin1(duration, durationEnd - duration) +
                   " [s]\r\n" + QStringLiteral("Ilosc próbek= \t\t") + QString::number(samples) + "\r\n";
    if (info.continuous) {
        head += QStringLiteral("Częstotliwość próbkowania= [real time]\r\n");
    } else {
        char rate[kCTextCapacity];
        char *const rateEnd = writeCFixed(rate, 1000.0 / info.periodMs, 6);
        head += QStringLiteral("Okres próbkowania= \t") + QString::number(info.periodMs) + " [ms]\r\n" +
                QStringLiteral("Częstotliwość próbkowania= \t") + QString::fromLatin1(rate, rateEnd - rate) +
                QStringLiteral("\t [próbek / sek]\r\n");
    }
    head += QStringLiteral("\r\n\r\n\r\n\r\n");
    return toWindows1250(head);
}

} // namespace

RegisterWriteStatus writeRegisterTxt(QIODevice &out, const RegisterStore &store, const RegisterFileInfo &info,
                                     const RegisterProgress &progress)
{
    const std::array<bool, 3> channels = writtenChannels(info, store);
    const qint64 samples = std::max<qint64>(1, store.size());
    RegisterCellText cells;

    // The index column is as wide as the first row's index text needs.
    std::string cell;
    if (store.size() > 0)
        cells.appendBytes(cell, 0, store.at(0), IndexColumn);
    const int w0 = std::max<int>(12, int(cell.size()) + 5);

    std::string titles;
    appendPadCell(titles, w0, "Index   ");
    titles += "|    Czas [s] |";
    int dashes = w0 + kCellWidth + 2 * kPkWidth;
    for (int k = 0; k < 3; ++k) {
        if (channels[size_t(k)]) {
            titles += "|  Czujnik_" + std::to_string(k) + "  |";
            dashes += kCellWidth;
        }
    }
    titles += "|  PK1 ||  PK2 |\r\n" + std::string(size_t(dashes), '-') + "\r\n";
    const QByteArray head = txtHead(info, samples) + QByteArray::fromStdString(titles);

    auto appendCell = [&](std::string &line, int width, qint64 number, const RegisterRow &row, int column) {
        cell.clear();
        cells.appendBytes(cell, number, row, column);
        appendPadCell(line, width, cell);
    };
    return writeRegisterRows(
        out, head, store,
        [&](std::string &line, qint64 number, const RegisterRow &row) {
            appendCell(line, w0, number, row, IndexColumn);
            appendCell(line, kCellWidth, number, row, TimeColumn);
            for (int k = 0; k < 3; ++k)
                if (channels[size_t(k)])
                    appendCell(line, kCellWidth, number, row, Channel0Column + k);
            appendCell(line, kPkWidth, number, row, Pk1Column);
            appendCell(line, kPkWidth, number, row, Pk2Column);
            line += "\r\n";
        },
        progress);
}

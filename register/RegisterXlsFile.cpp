#include "CFormatText.h"
#include "LocalDateTimeText.h"
#include "NumberFormat.h"
#include "RegisterCellText.h"
#include "RegisterFiles.h"
#include "RegisterRowStream.h"
#include "RegisterStore.h"
#include "Windows1250.h"

namespace {

QByteArray xlsHead(const RegisterFileInfo &info, qint64 samples)
{
    QString head = QStringLiteral("typ urządzenia=\t") + info.deviceTypeName + "\r\n" +
                   QStringLiteral("data pomiaru=\t") + shortDateText(info.now.date()) + "\r\n" +
                   QStringLiteral("godzina pomiaru= \t") + longTimeText(info.now.time()) + "\r\n" +
                   QStringLiteral("czas trwania pomiaru=\t") + DecimalComma(FormatGeneral(info.measTime)) +
                   "\t [s]\r\n" + QStringLiteral("Ilosc próbek=\t") + DecimalComma(QString::number(samples)) + "\r\n";
    if (info.continuous) {
        head += QStringLiteral("Częstotliwość próbkowania=[real time]\r\n");
    } else {
        char rate[kCTextCapacity];
        char *const rateEnd = writeCFixed(rate, 1000.0 / info.periodMs, 6);
        head += QStringLiteral("Okres próbkowania= \t") + QString::number(info.periodMs) + "\t [ms]\r\n" +
                QStringLiteral("Częstotliwość próbkowania=\t") +
                DecimalComma(QString::fromLatin1(rate, rateEnd - rate)) + QStringLiteral("\t[próbek/sek]\r\n");
    }
    head += QStringLiteral("\r\n\r\n");
    return toWindows1250(head);
}

} // namespace

RegisterWriteStatus writeRegisterXls(QIODevice &out, const RegisterStore &store, const RegisterFileInfo &info,
                                     const RegisterProgress &progress)
{
    const std::array<bool, 3> channels = writtenChannels(info, store);
    QByteArray head = xlsHead(info, std::max<qint64>(1, store.size()));
    head += "Index\tCzas [s]\t";
    for (int k = 0; k < 3; ++k)
        if (channels[size_t(k)])
            head += "Czujnik_" + QByteArray::number(k) + '\t';
    head += "PK1\tPK2\t\r\n";

    RegisterCellText cells;
    return writeRegisterRows(
        out, head, store,
        [&](std::string &line, qint64 number, const RegisterRow &row) {
            for (int column = IndexColumn; column <= Pk2Column; ++column) {
                const int k = column - Channel0Column;
                if (k >= 0 && k < 3 && !channels[size_t(k)])
                    continue;
                cells.appendBytes(line, number, row, column);
                line += '\t';
            }
            line += "\r\n";
        },
        progress);
}

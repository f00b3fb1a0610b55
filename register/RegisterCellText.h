#pragma once

#include "RegisterRow.h"

#include <QString>

#include <string>

/// The grid's columns.
enum RegisterColumn : int {
    IndexColumn = 0,
    TimeColumn = 1,
    Channel0Column = 2, ///< channel k is column Channel0Column + k
    Pk1Column = 5,
    Pk2Column = 6,
    RegisterColumnCount = 9,
};

/// The texts of a registered row's cells: the sample number and a blank, the date and time in
/// brackets, the measurement time "%2.3f" and the readings "%3.4f" with a decimal comma, the
/// dashes of a channel without a reading, the output states "0" or "1"; an unfilled cell is empty.
/// The date and time texts are kept from one row to the next, since neighbouring rows share them.
class RegisterCellText {
public:
    /// The cell as the register files hold it, in Windows-1250, appended to `out`.
    void appendBytes(std::string &out, qint64 number, const RegisterRow &row, int column);
    /// The cell as the table shows it.
    QString text(qint64 number, const RegisterRow &row, int column);

private:
    struct DateTimeText {
        qint64 key = -1;
        QString text;
        std::string bytes;
    };
    const DateTimeText &dateTime(const RegisterRow &row);
    /// Every text but the date and time is plain ASCII.
    static void appendAscii(std::string &out, qint64 number, const RegisterRow &row, int column);

    DateTimeText dateTime_;
    std::string scratch_;
};

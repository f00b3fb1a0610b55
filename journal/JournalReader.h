#pragma once

#include "JournalRecord.h"

#include <QString>

#include <functional>
#include <optional>

/// What replaying a journal would rebuild, for the recovery question.
struct JournalSummary {
    qint64 startLocalMs = 0;  ///< when the run began, RegisterRow::localMs convention
    quint64 chartPoints = 0;  ///< chart points since the chart's last clear
    quint64 registerRows = 0; ///< register rows since the register's last clear
    /// The acquisition time of the last chart point or register row, in the order they were
    /// taken: where the run goes on from.
    double lastTime = 0;

    bool empty() const { return chartPoints == 0 && registerRows == 0; }
};

struct JournalScan {
    bool valid = false; ///< false: missing, unreadable or not a journal (error says which)
    QString error;
    JournalSummary summary;
    qint64 goodLength = 0; ///< bytes up to the end of the last sound record
    qint64 fileLength = 0; ///< more than goodLength when the tail is torn or damaged
    bool stopped = false;  ///< the reading was abandoned through its progress
};

/// Hears of the bytes read so far; false abandons the reading.
using JournalProgress = std::function<bool(qint64 bytesRead, qint64 fileLength)>;

/// Reads the journal at path, streaming: visit (if given) sees each sound record in order.
/// Reading stops at the first record that is partial, fails its checksum or has an unknown
/// type; nothing after it is trusted.
JournalScan readJournal(const QString &path, const std::function<void(const JournalRecord &)> &visit = {},
                        const JournalProgress &progress = {});

/// The run's start from the journal's header alone; empty when the file is not a journal.
std::optional<qint64> readJournalStart(const QString &path, QString *error = nullptr);

/// Cuts a torn tail off: the file keeps its first scan.goodLength bytes.
bool cutJournalTail(const QString &path, const JournalScan &scan, QString *error);

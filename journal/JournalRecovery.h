#pragma once

#include "ChartData.h"
#include "JournalReader.h"
#include "JournalSink.h"
#include "RegisterStore.h"

#include <QDateTime>
#include <QString>

/// The journal's place in the working folder.
QString journalPath(const QString &workDir);

/// The start-up question about a journal left by an unclean end, last written at lastWritten.
QString journalQuestion(const JournalSummary &summary, const QDateTime &lastWritten);

/// What a progress window says while a journal is read: the records read of those in the file.
QString journalReadingText(qint64 bytesRead, qint64 fileLength);

/// Rebuilds, from the sound records of the journal at path, the chart points and register rows
/// they describe, into an empty chart and store.
JournalScan replayJournal(const QString &path, ChartData &chart, RegisterStore &store,
                          const JournalProgress &progress = {});

/// A run rebuilt from a journal, before it is taken up.
struct RebuiltRun {
    ChartData chart;
    RegisterStore rows;
    JournalScan scan;
};

/// Where runs are kept aside: the "pomiary" folder beside the journal.
QString keptRunsFolder(const QString &journalPath);

/// Moves the journal into the kept runs' folder under a name dated by its run's start
/// ("journal-2026-12-10_14-05-00.kxj"); a number is added if that name is taken. Returns the
/// new path, empty on failure.
QString keepAside(const QString &path, qint64 startLocalMs, QString *error);

/// The whole journal copied aside, the journal staying in place.
QString keepCopyAside(const QString &path, qint64 startLocalMs, QString *error);

/// Writes into sink the records of one side of the journal at path: the chart's points and
/// clears (side ChartClear) or the register's rows and clears (side RegisterClear).
QString copySide(const QString &path, JournalRecord::Type side, JournalSink &sink);

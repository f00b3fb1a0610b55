#pragma once

#include "JournalReader.h"

#include <QDateTime>
#include <QString>

class ChartData;
class RegisterStore;

/// The journal's place in the working folder.
QString journalPath(const QString &workDir);

/// The start-up question about a journal left by an unclean end, last written at lastWritten.
QString journalQuestion(const JournalSummary &summary, const QDateTime &lastWritten);

/// Rebuilds, from the sound records of the journal at path, the chart points and register rows
/// they describe, into an empty chart and store.
JournalScan replayJournal(const QString &path, ChartData &chart, RegisterStore &store,
                          const JournalProgress &progress = {});

/// Moves the journal aside under a name dated by its run's start ("journal-2026-12-10_14-05-00.kxj"),
/// next to it; a number is added if that name is taken. Returns the new path, empty on failure.
QString keepAside(const QString &path, qint64 startLocalMs, QString *error);
/// The same, leaving the journal in place.
QString keepCopyAside(const QString &path, qint64 startLocalMs, QString *error);

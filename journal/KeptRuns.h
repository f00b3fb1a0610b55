#pragma once

#include "JournalReader.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

/// A file in the kept runs' folder, as housekeeping and the list of kept runs see it.
struct KeptRunFile {
    QString path;
    qint64 size = 0;
    QDateTime lastWritten; ///< the run's end
    bool journal = false;  ///< its header is a journal's: a run that can be rebuilt
    bool intact = false;   ///< a journal that ends with a whole, sound record
    QString reason;        ///< why it cannot be rebuilt, when it is not a journal
};

/// The files of the kept runs' folder, newest first.
std::vector<KeptRunFile> keptRunFiles(const QString &folder);

struct KeptRunLimits {
    int maxAgeDays = 30;
    qint64 maxTotalBytes = 5'000'000'000;
};

/// The kept runs housekeeping removes: those older than the age limit, then the oldest while
/// all of them together pass the size limit. Never one written in the last 24 hours, never a
/// file that is not an intact journal (nor is it counted): a foreign file is not ours, and a
/// damaged journal may hold more than a reading shows.
QStringList runsToRemove(const std::vector<KeptRunFile> &files, const KeptRunLimits &limits, const QDateTime &now);

/// Removes what runsToRemove names. Returns the removed runs.
QStringList tidyKeptRuns(const QString &folder, const KeptRunLimits &limits, const QDateTime &now);

/// A kept run as the list shows it: its file and what a rebuild from it would give.
struct KeptRun {
    KeptRunFile file;
    JournalScan scan; ///< valid when file.journal; summary.empty() for a run with nothing in it
};

/// Reads every kept run in full (a day's run takes about a second); progress hears of the
/// bytes read of all of them together and may stop the reading, which then returns nothing.
std::optional<std::vector<KeptRun>> readKeptRuns(const QString &folder, const JournalProgress &progress = {});

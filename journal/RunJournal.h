#pragma once

#include "JournalReader.h"
#include "JournalRecord.h"
#include "JournalSink.h"
#include "JournalWriter.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ChartData;
class RegisterStore;
struct ChartSample;
struct RegisterRow;

/// The journal of the run: every chart point and register row is journaled as it is taken, so
/// that an unclean end loses at most the last flush period. A journal begins with the first
/// record and ends at a clean exit or when the chart and the register are both empty again.
/// Nothing unsaved is lost by an end or a clear: the journal as it stood is kept aside in the
/// kept runs' folder, from where it can be taken up again. When the other side still holds
/// something, a new journal goes on with that side's records.
class RunJournal : public QObject {
    Q_OBJECT

public:
    using SinkOpener =
        std::function<std::unique_ptr<JournalSink>(const QString &path, JournalOpen mode, QString *error)>;

    explicit RunJournal(QString path, SinkOpener open = openJournalFile, QObject *parent = nullptr);
    /// Leaves the file as it is, as an unclean end would.
    ~RunJournal() override;

    const QString &path() const { return path_; }

    /// What the journal left by an unclean end would rebuild. Empty when there is none or it
    /// holds nothing to rebuild (then it is removed); a file that is not a journal is kept aside.
    std::optional<JournalSummary> leftOver();
    /// The same, from a reading of the left-over journal already done (by rebuild).
    std::optional<JournalSummary> leftOver(const JournalScan &scan);
    /// Rebuilds the chart and register of the left-over journal, into an empty chart and store;
    /// later records go on in the same journal.
    void recover(ChartData &chart, RegisterStore &store);
    /// The two steps of recover for a rebuild on another thread, before anything is journaled:
    /// rebuild reads the file (on any thread); goOnAfter, back on the journal's thread, makes
    /// the journal ready to go on in the same file.
    JournalScan rebuild(ChartData &chart, RegisterStore &store, const JournalProgress &progress = {}) const;
    /// False when the journal could not be made ready: journaling then stays off.
    bool goOnAfter(const JournalScan &scan);
    /// Keeps the left-over journal under a dated name. When it cannot be moved, journaling stays
    /// off for this run so that it is not overwritten.
    bool keepAside(QString *error);
    /// The same after a reading that was stopped part way: its header names the run's start.
    bool keepAside(const JournalScan &partial, QString *error);

    /// Whether runs are being journaled, so that an unsaved one can be kept aside.
    bool journaling() const;
    /// Takes up a kept run in place of the current one, after a rebuild from it (`scan`): the
    /// current run is kept aside first if anything of it is unsaved, and the kept run's file
    /// becomes the journal, going on as after a recovery.
    bool takeUp(const QString &keptPath, const JournalScan &scan, QString *error);

    void chartPoint(const ChartSample &point);
    void chartCleared();
    void registerRow(const RegisterRow &row);
    void registerCleared();
    /// Everything the chart, or the register, holds was saved in a file.
    void chartExported() { chartUnsaved_ = false; }
    void registerSaved() { registerUnsaved_ = false; }
    /// A clean exit: the journal is no longer needed, unless something in it is unsaved.
    void finish();

signals:
    /// Journaling stopped for the rest of the run (a full disk, a folder that cannot be
    /// written). Emitted once, possibly from the writer's thread.
    void stopped(const QString &reason);

private:
    void append(const JournalRecord &record);
    void clearSide(JournalRecord::Type type);
    bool journalExists() const { return writer_ || nextOpen_ == JournalOpen::Continue; }
    /// Stops writing, leaving what was appended in the file.
    void closeWriter();
    /// Moves the whole journal aside; false (journaling stopped) when it cannot be moved.
    bool moveRunAside();
    /// Moves the journal aside and begins a new one with the records of the side that stays.
    void moveAsideKeeping(JournalRecord::Type stayingSide);
    void openWriter(JournalWriter::Seed seed = {});
    /// Removes the journal; the next record begins a new one.
    void end();
    void stop(const QString &reason);
    qint64 runStart();

    QString path_;
    SinkOpener open_;
    std::unique_ptr<JournalWriter> writer_;
    JournalOpen nextOpen_ = JournalOpen::New;
    quint64 chartPoints_ = 0;
    quint64 registerRows_ = 0;
    bool chartUnsaved_ = false;
    bool registerUnsaved_ = false;
    bool off_ = false;
    std::optional<qint64> runStart_; ///< of the journal's run, RegisterRow::localMs convention
};

#include "RunJournal.h"

#include "JournalRecord.h"
#include "JournalRecovery.h"
#include "JournalWriter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The RegisterRow::localMs convention: the local wall clock read as UTC.
qint64 localMs(const QDateTime &at)
{
    return QDateTime(at.date(), at.time(), Qt::UTC).toMSecsSinceEpoch();
}

// More than a half-written last record was unreadable: sound records may follow the damage.
bool damagedInside(const JournalScan &scan)
{
    return scan.fileLength - scan.goodLength >= qint64(JournalFormat::RecordSize);
}

// Empty, or the start of a journal's header torn by the end.
bool tornHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() >= qint64(JournalFormat::HeaderSize))
        return false;
    const QByteArray start = file.read(sizeof JournalFormat::Magic);
    return std::equal(start.begin(), start.end(), JournalFormat::Magic);
}

} // namespace

RunJournal::RunJournal(QString path, SinkOpener open, QObject *parent)
    : QObject(parent), path_(std::move(path)), open_(std::move(open))
{
}

RunJournal::~RunJournal()
{
    if (writer_)
        writer_->abandon();
}

std::optional<JournalSummary> RunJournal::leftOver()
{
    if (!QFileInfo::exists(path_))
        return std::nullopt;
    return leftOver(readJournal(path_));
}

std::optional<JournalSummary> RunJournal::leftOver(const JournalScan &scan)
{
    if (scan.valid && !scan.summary.empty()) {
        leftStartLocalMs_ = scan.summary.startLocalMs;
        return scan.summary;
    }
    // A header torn by the end, or a run whose every record was cleared: nothing to rebuild.
    // Anything else under the journal's name is not ours to delete.
    if ((scan.valid && !damagedInside(scan)) || tornHeader(path_)) {
        QFile::remove(path_);
        return std::nullopt;
    }
    QString error;
    const qint64 start = scan.valid ? scan.summary.startLocalMs : localMs(QFileInfo(path_).lastModified());
    if (::keepAside(path_, start, &error).isEmpty())
        stop(error); // a new journal would overwrite it
    return std::nullopt;
}

void RunJournal::recover(ChartData &chart, RegisterStore &store)
{
    goOnAfter(rebuild(chart, store));
}

JournalScan RunJournal::rebuild(ChartData &chart, RegisterStore &store, const JournalProgress &progress) const
{
    return replayJournal(path_, chart, store, progress);
}

void RunJournal::goOnAfter(const JournalScan &scan)
{
    QString error;
    // Appending after a torn record would hide everything written later. Damage inside the
    // journal may hide sound records after it: those are kept in a copy before the cut.
    if (scan.goodLength < scan.fileLength &&
        ((damagedInside(scan) && keepCopyAside(path_, scan.summary.startLocalMs, &error).isEmpty()) ||
         !cutJournalTail(path_, scan, &error))) {
        stop(error);
        return;
    }
    chartPoints_ = scan.summary.chartPoints;
    registerRows_ = scan.summary.registerRows;
    nextOpen_ = JournalOpen::Continue;
}

bool RunJournal::keepAside(const JournalScan &partial, QString *error)
{
    if (partial.valid)
        leftStartLocalMs_ = partial.summary.startLocalMs;
    return keepAside(error);
}

bool RunJournal::keepAside(QString *error)
{
    // Read once already when it was found: a day's journal takes seconds to read again.
    const qint64 start = leftStartLocalMs_ ? *leftStartLocalMs_ : readJournal(path_).summary.startLocalMs;
    if (!::keepAside(path_, start, error).isEmpty())
        return true;
    off_ = true;
    return false;
}

void RunJournal::chartPoint(const ChartSample &point)
{
    ++chartPoints_;
    append(JournalRecord::chartPoint(point));
}

void RunJournal::registerRow(const RegisterRow &row)
{
    ++registerRows_;
    append(JournalRecord::registerRow(row));
}

void RunJournal::chartCleared()
{
    chartPoints_ = 0;
    journalClear(JournalRecord::Type::ChartClear);
}

void RunJournal::registerCleared()
{
    registerRows_ = 0;
    journalClear(JournalRecord::Type::RegisterClear);
}

void RunJournal::journalClear(JournalRecord::Type type)
{
    // With no journal there is nothing to clear, except in a recovered one not yet appended to.
    if (writer_ || nextOpen_ == JournalOpen::Continue)
        append(JournalRecord::cleared(type));
    if (chartPoints_ == 0 && registerRows_ == 0)
        end();
}

void RunJournal::finish()
{
    end();
    // The run is over: whatever still arrives while the program closes has no journal.
    off_ = true;
}

void RunJournal::end()
{
    if (writer_) {
        writer_->finish();
        // A writer that failed, up to its last batch, has said so once; a new journal would
        // only fail again.
        if (writer_->failed())
            off_ = true;
        writer_.reset();
    } else if (nextOpen_ == JournalOpen::Continue) {
        QFile::remove(path_); // recovered, and nothing added since
    }
    nextOpen_ = JournalOpen::New;
}

void RunJournal::append(const JournalRecord &record)
{
    // While the file is being rebuilt from, a record would start a new journal over it; what
    // the run takes meanwhile is replaced by the rebuilt run anyway.
    if (off_)
        return;
    if (!writer_) {
        QString error;
        std::unique_ptr<JournalSink> sink = open_(path_, nextOpen_, &error);
        if (!sink) {
            stop(error);
            return;
        }
        std::optional<qint64> newRunStart;
        if (nextOpen_ == JournalOpen::New)
            newRunStart = localMs(QDateTime::currentDateTime());
        writer_ = std::make_unique<JournalWriter>(std::move(sink), newRunStart,
                                                  [this](const QString &reason) { emit stopped(reason); });
    }
    writer_->append(record);
}

void RunJournal::stop(const QString &reason)
{
    off_ = true;
    emit stopped(reason);
}

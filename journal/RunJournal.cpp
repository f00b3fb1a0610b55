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
        runStart_ = scan.summary.startLocalMs;
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

bool RunJournal::goOnAfter(const JournalScan &scan)
{
    QString error;
    // Appending after a torn record would hide everything written later. Damage inside the
    // journal may hide sound records after it: those are kept in a copy before the cut.
    if (scan.goodLength < scan.fileLength &&
        ((damagedInside(scan) && keepCopyAside(path_, scan.summary.startLocalMs, &error).isEmpty()) ||
         !cutJournalTail(path_, scan, &error))) {
        stop(error);
        return false;
    }
    chartPoints_ = scan.summary.chartPoints;
    registerRows_ = scan.summary.registerRows;
    // Taken back from a journal, nothing of it is in a file of the user's.
    chartUnsaved_ = chartPoints_ > 0;
    registerUnsaved_ = registerRows_ > 0;
    runStart_ = scan.summary.startLocalMs;
    nextOpen_ = JournalOpen::Continue;
    return true;
}

bool RunJournal::takeUp(const QString &keptPath, const JournalScan &scan, QString *error)
{
    if (!(chartUnsaved_ || registerUnsaved_))
        end();
    else if (!moveRunAside()) {
        *error = QStringLiteral("bieżący zapis pomiarów nie dał się odłożyć");
        return false;
    }
    QFile kept(keptPath);
    if (!kept.rename(path_)) {
        *error = kept.errorString();
        return false;
    }
    if (goOnAfter(scan))
        return true;
    // Left where recovery looks for it, rather than lost to the list.
    *error = QStringLiteral("zapisu pomiarów nie można kontynuować; pozostaje w pliku „%1”").arg(path_);
    return false;
}

bool RunJournal::keepAside(const JournalScan &partial, QString *error)
{
    if (partial.valid)
        runStart_ = partial.summary.startLocalMs;
    return keepAside(error);
}

bool RunJournal::keepAside(QString *error)
{
    if (!::keepAside(path_, runStart(), error).isEmpty())
        return true;
    off_ = true;
    return false;
}

bool RunJournal::journaling() const
{
    return !off_ && !(writer_ && writer_->failed());
}

qint64 RunJournal::runStart()
{
    if (!runStart_)
        runStart_ = readJournalStart(path_).value_or(localMs(QFileInfo(path_).lastModified()));
    return *runStart_;
}

void RunJournal::chartPoint(const ChartSample &point)
{
    ++chartPoints_;
    chartUnsaved_ = true;
    append(JournalRecord::chartPoint(point));
}

void RunJournal::registerRow(const RegisterRow &row)
{
    ++registerRows_;
    registerUnsaved_ = true;
    append(JournalRecord::registerRow(row));
}

void RunJournal::chartCleared()
{
    clearSide(JournalRecord::Type::ChartClear);
}

void RunJournal::registerCleared()
{
    clearSide(JournalRecord::Type::RegisterClear);
}

void RunJournal::clearSide(JournalRecord::Type type)
{
    const bool chart = type == JournalRecord::Type::ChartClear;
    (chart ? chartPoints_ : registerRows_) = 0;
    bool &unsaved = chart ? chartUnsaved_ : registerUnsaved_;
    const bool keep = unsaved && journalExists() && QFileInfo::exists(path_);
    unsaved = false;
    if (keep && chartPoints_ == 0 && registerRows_ == 0) {
        moveRunAside();
        return;
    }
    if (keep) {
        moveAsideKeeping(chart ? JournalRecord::Type::RegisterClear : JournalRecord::Type::ChartClear);
        return;
    }
    // With no journal there is nothing to clear, except in a recovered one not yet appended to.
    if (journalExists())
        append(JournalRecord::cleared(type));
    if (chartPoints_ == 0 && registerRows_ == 0)
        end();
}

void RunJournal::finish()
{
    if (chartUnsaved_ || registerUnsaved_)
        moveRunAside();
    else
        end();
    // The run is over: whatever still arrives while the program closes has no journal.
    off_ = true;
}

void RunJournal::closeWriter()
{
    if (!writer_)
        return;
    writer_->abandon();
    // A writer that failed, up to its last batch, has said so once; a new journal would only
    // fail again.
    if (writer_->failed())
        off_ = true;
    writer_.reset();
}

bool RunJournal::moveRunAside()
{
    if (!journalExists())
        return true;
    closeWriter();
    QString error;
    // A journal that could not even be created has nothing to keep.
    if (QFileInfo::exists(path_) && ::keepAside(path_, runStart(), &error).isEmpty()) {
        stop(error); // a new journal would overwrite it
        return false;
    }
    nextOpen_ = JournalOpen::New;
    chartPoints_ = registerRows_ = 0;
    chartUnsaved_ = registerUnsaved_ = false;
    runStart_.reset();
    return true;
}

void RunJournal::moveAsideKeeping(JournalRecord::Type stayingSide)
{
    closeWriter();
    QString error;
    const QString kept = ::keepAside(path_, runStart(), &error);
    if (kept.isEmpty()) {
        stop(error);
        return;
    }
    nextOpen_ = JournalOpen::New;
    // The run goes on: the new journal keeps its start, and the staying side's records, read
    // back from the journal kept aside on the writer's thread.
    openWriter([kept, stayingSide](JournalSink &sink) { return copySide(kept, stayingSide, sink); });
}

void RunJournal::end()
{
    if (writer_) {
        writer_->finish();
        if (writer_->failed())
            off_ = true;
        writer_.reset();
    } else if (nextOpen_ == JournalOpen::Continue) {
        QFile::remove(path_); // recovered, and nothing added since
    }
    nextOpen_ = JournalOpen::New;
    runStart_.reset();
}

void RunJournal::append(const JournalRecord &record)
{
    // While the file is being rebuilt from, a record would start a new journal over it; what
    // the run takes meanwhile is replaced by the rebuilt run anyway.
    if (off_)
        return;
    if (!writer_)
        openWriter();
    if (writer_)
        writer_->append(record);
}

void RunJournal::openWriter(JournalWriter::Seed seed)
{
    if (off_)
        return;
    QString error;
    std::unique_ptr<JournalSink> sink = open_(path_, nextOpen_, &error);
    if (!sink) {
        stop(error);
        return;
    }
    std::optional<qint64> newRunStart;
    if (nextOpen_ == JournalOpen::New)
        runStart_ = newRunStart = runStart_.value_or(localMs(QDateTime::currentDateTime()));
    writer_ = std::make_unique<JournalWriter>(
        std::move(sink), newRunStart, [this](const QString &reason) { emit stopped(reason); },
        JournalWriter::DefaultFlushPeriod, std::move(seed));
}

void RunJournal::stop(const QString &reason)
{
    off_ = true;
    emit stopped(reason);
}

#include "RunJournal.h"

#include "JournalRecord.h"
#include "JournalRecovery.h"
#include "JournalWriter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

// The RegisterRow::localMs convention: the local wall clock read as UTC.
qint64 localMs(const QDateTime &at)
{
    return QDateTime(at.date(), at.time(), Qt::UTC).toMSecsSinceEpoch();
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
    const JournalScan scan = readJournal(path_);
    if (scan.valid && !scan.summary.empty())
        return scan.summary;
    // A header torn by the end, or a run whose every record was cleared: nothing to rebuild.
    // Anything else under the journal's name is not ours to delete.
    if (scan.valid || QFileInfo(path_).size() < qint64(JournalFormat::HeaderSize)) {
        QFile::remove(path_);
        return std::nullopt;
    }
    QString error;
    if (::keepAside(path_, localMs(QFileInfo(path_).lastModified()), &error).isEmpty())
        stop(error); // a new journal would overwrite it
    return std::nullopt;
}

void RunJournal::recover(ChartData &chart, RegisterStore &store)
{
    const JournalScan scan = replayJournal(path_, chart, store);
    QString error;
    if (scan.goodLength < scan.fileLength && !cutJournalTail(path_, scan, &error)) {
        // Appending after a torn record would hide everything written later.
        stop(error);
        return;
    }
    chartPoints_ = scan.summary.chartPoints;
    registerRows_ = scan.summary.registerRows;
    nextOpen_ = JournalOpen::Continue;
}

bool RunJournal::keepAside(QString *error)
{
    const JournalScan scan = readJournal(path_);
    if (!::keepAside(path_, scan.summary.startLocalMs, error).isEmpty())
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
    if (writer_)
        writer_->append(JournalRecord::cleared(JournalRecord::Type::ChartClear));
    endIfEmpty();
}

void RunJournal::registerCleared()
{
    registerRows_ = 0;
    if (writer_)
        writer_->append(JournalRecord::cleared(JournalRecord::Type::RegisterClear));
    endIfEmpty();
}

void RunJournal::finish()
{
    end();
    // The run is over: whatever still arrives while the program closes has no journal.
    off_ = true;
}

void RunJournal::end()
{
    if (writer_)
        writer_->finish();
    writer_.reset();
}

void RunJournal::endIfEmpty()
{
    if (chartPoints_ != 0 || registerRows_ != 0)
        return;
    // A writer that failed has said so once; a new journal would only fail again.
    if (writer_ && writer_->failed())
        off_ = true;
    end();
    nextOpen_ = JournalOpen::New;
}

void RunJournal::append(const JournalRecord &record)
{
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

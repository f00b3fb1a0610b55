#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

/// One piece of long file work off the user-interface thread: started once, it reports its
/// progress and ends with one result. The work runs on a thread of its own and must touch
/// only what it was given (a snapshot, a path); progress and the result arrive on the thread
/// that owns the job, so the event loop never waits and no nested loop is needed.
class BackgroundJob : public QObject {
    Q_OBJECT

public:
    struct Result {
        bool ok = false;
        bool cancelled = false;
        QString reason; ///< why it failed, in words a user can read
    };
    /// Reports `done` of `total` and tells whether to go on (false once cancelled). Called on
    /// the job's thread, as often as the work likes: it costs two atomic stores.
    using Progress = std::function<bool(qint64 done, qint64 total)>;
    using Work = std::function<Result(const Progress &progress)>;

    explicit BackgroundJob(QObject *parent = nullptr);
    /// Waits for work still running, after asking it to stop.
    ~BackgroundJob() override;

    /// Starts the work; false while an earlier one still runs.
    bool start(Work work);
    /// Asks the work to stop at its next progress report.
    void cancel() { cancelled_ = true; }
    bool running() const { return running_; }

signals:
    void started();
    /// At most every 50 ms while the work runs.
    void progressed(qint64 done, qint64 total);
    void finished(const BackgroundJob::Result &result);

private:
    void report();
    void end(const Result &result);

    std::thread thread_;
    std::atomic<bool> cancelled_{false};
    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    std::atomic<bool> reportPending_{false};
    bool running_ = false;
};

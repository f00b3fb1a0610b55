#include "BackgroundJob.h"

#include <QTimer>

BackgroundJob::BackgroundJob(QObject *parent) : QObject(parent) {}

BackgroundJob::~BackgroundJob()
{
    cancel();
    if (thread_.joinable())
        thread_.join();
}

bool BackgroundJob::start(Work work)
{
    if (running_)
        return false;
    if (thread_.joinable())
        thread_.join();
    running_ = true;
    cancelled_ = false;
    done_ = 0;
    total_ = 0;
    thread_ = std::thread([this, work = std::move(work)] {
        const Progress progress = [this](qint64 done, qint64 total) {
            done_ = done;
            total_ = total;
            // One report in flight at a time, sent on after 50 ms: the user-interface thread
            // takes a few a second however fast the work goes.
            if (!reportPending_.exchange(true))
                QMetaObject::invokeMethod(this, [this] { QTimer::singleShot(50, this, &BackgroundJob::report); });
            return !cancelled_;
        };
        Result result = work(progress);
        if (cancelled_ && !result.ok)
            result.cancelled = true;
        QMetaObject::invokeMethod(this, [this, result] { end(result); });
    });
    emit started();
    return true;
}

void BackgroundJob::report()
{
    reportPending_ = false;
    if (running_)
        emit progressed(done_, total_);
}

void BackgroundJob::end(const Result &result)
{
    thread_.join();
    running_ = false;
    emit finished(result);
}

#include "JobProgress.h"

#include "BackgroundJob.h"

#include <QProgressBar>
#include <QTimer>

#include <limits>

JobProgress::JobProgress(BackgroundJob &job, const QString &label, QWidget *parent, int minimumDurationMs)
    : QObject(&job), job_(job), dialog_(label, QStringLiteral("Przerwij"), 0, kSteps, parent),
      bar_(new QProgressBar(&dialog_)), delay_(new QTimer(this))
{
    // The bar is set directly: the dialog's own setValue runs the event loop when modal.
    dialog_.setBar(bar_);
    bar_->setRange(0, kSteps);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    // Shown by the delay below only; the dialog's own timer would show it unasked.
    dialog_.setMinimumDuration(std::numeric_limits<int>::max());
    dialog_.hide();
    delay_->setSingleShot(true);
    delay_->setInterval(minimumDurationMs);
    connect(delay_, &QTimer::timeout, &dialog_, [this] {
        if (job_.running())
            dialog_.show();
    });
    connect(&dialog_, &QProgressDialog::canceled, &job_, &BackgroundJob::cancel);
    connect(&job_, &BackgroundJob::started, this, &JobProgress::begin);
    connect(&job_, &BackgroundJob::progressed, this, &JobProgress::show);
    connect(&job_, &BackgroundJob::finished, this, &JobProgress::end);
}

void JobProgress::begin()
{
    bar_->setValue(0);
    delay_->start();
}

void JobProgress::show(qint64 done, qint64 total)
{
    bar_->setValue(total > 0 ? int(done * kSteps / total) : kSteps);
}

void JobProgress::end()
{
    delay_->stop();
    dialog_.hide();
}

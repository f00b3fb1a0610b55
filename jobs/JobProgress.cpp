#include "JobProgress.h"

#include "BackgroundJob.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

JobProgress::JobProgress(BackgroundJob &job, const QString &label, QWidget *parent, int minimumDurationMs)
    : QObject(&job), job_(job), window_(parent), bar_(new QProgressBar(&window_)), count_(new QLabel(&window_)),
      cancel_(new QPushButton(QStringLiteral("Przerwij"), &window_)), delay_(new QTimer(this))
{
    window_.setWindowTitle(QStringLiteral("KX520S-PC"));
    window_.setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(&window_);
    layout->addWidget(new QLabel(label, &window_));
    bar_->setRange(0, kSteps);
    bar_->setMinimumWidth(300);
    layout->addWidget(bar_);
    layout->addWidget(count_);
    count_->hide();
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    delay_->setSingleShot(true);
    delay_->setInterval(minimumDurationMs);
    connect(delay_, &QTimer::timeout, &window_, [this] {
        if (job_.running())
            window_.show();
    });
    connect(cancel_, &QPushButton::clicked, &job_, &BackgroundJob::cancel);
    // Closing the window is no way out of the work: it is cancelled as by its button.
    connect(&window_, &QDialog::rejected, &job_, &BackgroundJob::cancel);
    connect(&job_, &BackgroundJob::started, this, &JobProgress::begin);
    connect(&job_, &BackgroundJob::progressed, this, &JobProgress::show);
    connect(&job_, &BackgroundJob::finished, this, &JobProgress::end);
}

int JobProgress::value() const
{
    return bar_->value();
}

void JobProgress::begin()
{
    bar_->setValue(0);
    cancel_->setEnabled(true);
    delay_->start();
}

void JobProgress::showCount(std::function<QString(qint64 done, qint64 total)> text)
{
    countText_ = std::move(text);
    count_->setVisible(bool(countText_));
}

void JobProgress::show(qint64 done, qint64 total)
{
    bar_->setValue(total > 0 ? int(done * kSteps / total) : kSteps);
    if (countText_)
        count_->setText(countText_(done, total));
}

void JobProgress::end()
{
    delay_->stop();
    window_.hide();
}

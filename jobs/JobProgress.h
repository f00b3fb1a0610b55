#pragma once

#include <QObject>
#include <QProgressDialog>

class BackgroundJob;
class QProgressBar;
class QTimer;

/// The progress window of a background job: it appears once the job has run for
/// `minimumDurationMs`, so that quick work shows nothing, closes when the job ends, and its
/// cancel button cancels the job. Window-modal over `parent` while shown; it never runs events
/// itself. It belongs to the job and goes with it.
class JobProgress : public QObject {
    Q_OBJECT

public:
    JobProgress(BackgroundJob &job, const QString &label, QWidget *parent, int minimumDurationMs = 400);

    QProgressDialog &dialog() { return dialog_; }

private:
    void begin();
    void show(qint64 done, qint64 total);
    void end();

    static constexpr int kSteps = 1000;
    BackgroundJob &job_;
    QProgressDialog dialog_;
    QProgressBar *bar_;
    QTimer *delay_;
};

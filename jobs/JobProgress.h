#pragma once

#include <QDialog>
#include <QObject>

#include <functional>

class BackgroundJob;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

/// The progress window of a background job: it appears once the job has run for
/// `minimumDurationMs`, so that quick work shows nothing, closes when the job ends, and its
/// "Przerwij" button cancels the job. Window-modal over `parent` while shown. It belongs to
/// the job and goes with it.
class JobProgress : public QObject {
    Q_OBJECT

public:
    JobProgress(BackgroundJob &job, const QString &label, QWidget *parent, int minimumDurationMs = 400);

    /// A line under the bar that tells what was done in words, at each report.
    void showCount(std::function<QString(qint64 done, qint64 total)> text);

    QDialog &window() { return window_; }
    /// Thousandths of the work done.
    int value() const;
    QPushButton *cancelButton() const { return cancel_; }

private:
    void begin();
    void show(qint64 done, qint64 total);
    void end();

    static constexpr int kSteps = 1000;
    BackgroundJob &job_;
    QDialog window_;
    QProgressBar *bar_;
    QLabel *count_;
    std::function<QString(qint64 done, qint64 total)> countText_;
    QPushButton *cancel_;
    QTimer *delay_;
};

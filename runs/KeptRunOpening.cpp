#include "KeptRunOpening.h"

#include "BackgroundJob.h"
#include "JobProgress.h"
#include "JournalRecovery.h"
#include "KeptRuns.h"
#include "MeasurementSession.h"
#include "RunJournal.h"
#include "UserDialogs.h"
#include "WindowPlacement.h"

#include <QDir>

#include <memory>

KeptRunOpening::KeptRunOpening(UserDialogs &dialogs, RunJournal &journal, MeasurementSession &session, QWidget *window)
    : dialogs_(dialogs), journal_(journal), session_(session), window_(window), listing_(new BackgroundJob(this)),
      rebuilding_(new BackgroundJob(this))
{
    new JobProgress(*listing_, QStringLiteral("Odczyt zapisanych przebiegów..."), window);
    auto *progress = new JobProgress(*rebuilding_, QStringLiteral("Odczyt zapisanego przebiegu..."), window);
    progress->showCount(journalReadingText);
}

bool KeptRunOpening::busy() const
{
    return listing_->running() || rebuilding_->running();
}

void KeptRunOpening::open()
{
    if (busy())
        return;
    const QString folder = keptRunsFolder(journal_.path());
    auto runs = std::make_shared<std::vector<KeptRun>>();
    QObject::disconnect(listing_, &BackgroundJob::finished, this, nullptr);
    connect(listing_, &BackgroundJob::finished, this, [this, runs, folder](const BackgroundJob::Result &result) {
        if (!result.ok)
            return;
        if (runs->empty()) {
            dialogs_.message(
                QStringLiteral("Nie ma zapisanych przebiegów w folderze „%1”.").arg(QDir::toNativeSeparators(folder)));
            return;
        }
        list_ = new KeptRunsWindow(*runs, window_);
        list_->setAttribute(Qt::WA_DeleteOnClose);
        connect(list_, &KeptRunsWindow::chosen, this, &KeptRunOpening::openRun);
        list_->adjustSize();
        centreOnScreen(*list_);
        list_->open();
    });
    listing_->start([runs, folder](const BackgroundJob::Progress &report) {
        std::optional<std::vector<KeptRun>> read = readKeptRuns(folder, report);
        if (read)
            *runs = std::move(*read);
        return BackgroundJob::Result{read.has_value(), !read, {}};
    });
}

void KeptRunOpening::openRun(const QString &path)
{
    if (busy())
        return;
    if (session_.unsavedWork() && !journal_.journaling() &&
        !dialogs_.confirm(QStringLiteral("Bieżące pomiary nie zostały zapisane, a zabezpieczanie pomiarów jest "
                                         "wyłączone: nie zostaną zachowane.\nOtworzyć zapisany przebieg mimo to?")))
        return;
    auto run = std::make_shared<RebuiltRun>();
    QObject::disconnect(rebuilding_, &BackgroundJob::finished, this, nullptr);
    connect(rebuilding_, &BackgroundJob::finished, this, [this, run, path](const BackgroundJob::Result &result) {
        if (!result.ok)
            return;
        QString error;
        if (!run->scan.valid || !journal_.takeUp(path, run->scan, &error)) {
            dialogs_.message(QStringLiteral("Przebiegu z pliku „%1” nie udało się otworzyć: %2.")
                                 .arg(QDir::toNativeSeparators(path), run->scan.valid ? error : run->scan.error));
            return;
        }
        session_.adopt(std::move(run->chart), std::move(run->rows), run->scan.summary.lastTime);
        emit runOpened(path);
    });
    rebuilding_->start([run, path](const BackgroundJob::Progress &report) {
        run->scan = replayJournal(path, run->chart, run->rows, report);
        return BackgroundJob::Result{!run->scan.stopped, run->scan.stopped, {}};
    });
}

#include "ChartExport.h"

#include "BackgroundJob.h"
#include "ChartData.h"
#include "ChartExportWindow.h"
#include "JobProgress.h"
#include "SavedFile.h"
#include "SpreadsheetExport.h"

#include <QImageWriter>
#include <qcustomplot.h>

namespace {

FileDialogRequest saveRequest(const QString &filter)
{
    FileDialogRequest request;
    request.filter = filter;
    request.overwritePrompt = true;
    return request;
}

} // namespace

ChartExport::ChartExport(QCustomPlot *plot, const ChartData &data, UserDialogs &dialogs, QObject *parent)
    : QObject(parent), plot(plot), data(data), dialogs(dialogs), job(new BackgroundJob(this)),
      SaveDialog1(RememberedFileDialog::Save, saveRequest(QStringLiteral("plik bmp | *.bmp"))),
      SaveDialog2(RememberedFileDialog::Save, saveRequest(QStringLiteral("Excel | *.xls")))
{
    new JobProgress(*job, QStringLiteral("Eksportowanie wykresu..."), plot->window());
}

bool ChartExport::exporting() const
{
    return job->running();
}

void ChartExport::exportPoints(const QString &path, PointsWriter write)
{
    if (exporting()) {
        dialogs.message(QStringLiteral("Plik „%1” nie został zapisany: trwa poprzedni eksport wykresu.").arg(path));
        return;
    }
    // A copy shares the points: the export writes them as they are now, however the chart goes on.
    const ChartData snapshot = data;
    emit pointsCopied();
    QObject::disconnect(job, &BackgroundJob::finished, this, nullptr);
    connect(job, &BackgroundJob::finished, this, [this, path](const BackgroundJob::Result &result) {
        if (result.ok)
            emit pointsWritten();
        else
            report(path, result.reason);
    });
    job->start([snapshot, path, write](const BackgroundJob::Progress &progress) {
        const SaveResult saved = write(snapshot, path, progress);
        return BackgroundJob::Result{saved.ok, false, saved.reason};
    });
}

void ChartExport::report(const QString &path, const QString &reason)
{
    dialogs.message(QStringLiteral("Plik „%1” nie został zapisany: %2").arg(path, reason));
}

QPixmap ChartExport::picture() const
{
    return plot->toPixmap();
}

bool ChartExport::savePicture(const QString &path, const char *format)
{
    const QImage image = picture().toImage();
    const SaveResult result = saveFile(path, [&](QIODevice &out, QString &reason) {
        QImageWriter writer(&out, format);
        if (writer.write(image))
            return true;
        reason = writer.errorString();
        return false;
    });
    if (!result.ok)
        report(path, result.reason);
    return result.ok;
}

void ChartExport::BitBtn10Click()
{
    if (const auto chosen = SaveDialog1.execute(dialogs))
        savePicture(chosen->path, "BMP");
}

void ChartExport::BitBtn11Click()
{
    const auto chosen = SaveDialog2.execute(dialogs);
    if (!chosen)
        return;
    exportPoints(chosen->path, [](const ChartData &chart, const QString &path, const auto &) {
        return saveSpreadsheet(chart, path);
    });
}

void ChartExport::BitBtn12Click()
{
    FileDialogRequest request = saveRequest(QStringLiteral("JPEG files (*.jpg)|*.jpg"));
    request.defaultSuffix = QStringLiteral("jpg");
    if (const auto chosen = dialogs.saveFile(request))
        savePicture(chosen->path, "JPG");
    // The general export window follows, whether a JPEG was saved or not.
    auto *window = new ChartExportWindow(*this, data, dialogs, plot->window());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
}

#include "ChartExport.h"

#include "ChartExportWindow.h"
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
    : QObject(parent), plot(plot), data(data), dialogs(dialogs),
      SaveDialog1(RememberedFileDialog::Save, saveRequest(QStringLiteral("plik bmp | *.bmp"))),
      SaveDialog2(RememberedFileDialog::Save, saveRequest(QStringLiteral("Excel | *.xls")))
{
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
    const SaveResult result = saveSpreadsheet(data, chosen->path);
    if (!result.ok)
        report(chosen->path, result.reason);
}

void ChartExport::BitBtn12Click()
{
    FileDialogRequest request = saveRequest(QStringLiteral("JPEG files (*.jpg)|*.jpg"));
    request.defaultSuffix = QStringLiteral("jpg");
    if (const auto chosen = dialogs.saveFile(request))
        savePicture(chosen->path, "JPG");
    // The general export window follows, whether a JPEG was saved or not.
    ChartExportWindow window(*this, data, dialogs, plot->window());
    window.exec();
}

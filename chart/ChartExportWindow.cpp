#include "ChartExportWindow.h"

#include "ChartExport.h"
#include "CsvExport.h"
#include "SavedFile.h"
#include "UserDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Format {
    const char *name;
    const char *filter;
    const char *suffix;
};

const Format kFormats[] = {
    {"PNG", "PNG | *.png", "png"},
    {"JPEG", "JPEG | *.jpg", "jpg"},
    {"BMP", "plik bmp | *.bmp", "bmp"},
    {"PDF", "PDF | *.pdf", "pdf"},
    {"CSV (wszystkie punkty)", "CSV | *.csv", "csv"},
};

} // namespace

ChartExportWindow::ChartExportWindow(ChartExport &exporter, const ChartData &data, UserDialogs &dialogs,
                                     QWidget *parent)
    : QDialog(parent), exporter(exporter), data(data), dialogs(dialogs), format(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Eksport wykresu"));
    auto *layout = new QVBoxLayout(this);
    auto *preview = new QLabel(this);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setPixmap(exporter.picture().scaled(480, 270, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    layout->addWidget(preview);
    format->addItems(formats());
    layout->addWidget(format);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *save = buttons->addButton(QStringLiteral("Zapisz..."), QDialogButtonBox::AcceptRole);
    layout->addWidget(buttons);
    connect(save, &QPushButton::clicked, this, [this] { exportAs(format->currentIndex()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QStringList ChartExportWindow::formats()
{
    QStringList names;
    for (const Format &f : kFormats)
        names << QString::fromLatin1(f.name);
    return names;
}

void ChartExportWindow::exportAs(int index)
{
    const Format &chosenFormat = kFormats[index];
    FileDialogRequest request;
    request.filter = QString::fromLatin1(chosenFormat.filter);
    request.defaultSuffix = QString::fromLatin1(chosenFormat.suffix);
    request.overwritePrompt = true;
    const auto chosen = dialogs.saveFile(request);
    if (!chosen)
        return;
    const QString path = chosen->path;
    SaveResult result{true, {}};
    switch (index) {
    case 0:
        exporter.savePicture(path, "PNG");
        return;
    case 1:
        exporter.savePicture(path, "JPG");
        return;
    case 2:
        exporter.savePicture(path, "BMP");
        return;
    case 3: {
        const QPixmap picture = exporter.picture();
        result = saveFile(path, [&](QIODevice &out, QString &) {
            QPdfWriter pdf(&out);
            pdf.setPageOrientation(QPageLayout::Landscape);
            QPainter painter(&pdf);
            const QRect page = painter.viewport();
            const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
            painter.drawPixmap(QRect(page.topLeft(), size), picture);
            return painter.end();
        });
        break;
    }
    default:
        exporter.exportPoints(path, &saveCsv);
        return;
    }
    if (!result.ok)
        dialogs.message(QStringLiteral("Plik „%1” nie został zapisany: %2").arg(path, result.reason));
}

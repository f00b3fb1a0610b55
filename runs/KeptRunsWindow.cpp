#include "KeptRunsWindow.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { Start, End, Points, Rows, Size, Remarks, ColumnCount };

const QString DateTimeFormat = QStringLiteral("dd.MM.yyyy hh:mm:ss");

QString remarks(const KeptRun &run)
{
    if (!run.file.journal)
        return QStringLiteral("nieczytelny: %1").arg(run.file.reason);
    if (run.scan.summary.empty())
        return QStringLiteral("nie zawiera pomiarów");
    if (run.scan.goodLength < run.scan.fileLength)
        return QStringLiteral("uszkodzony koniec: odczytane zapisy do bajtu %L1").arg(run.scan.goodLength);
    return {};
}

QTreeWidgetItem *item(const KeptRun &run)
{
    auto *row = new QTreeWidgetItem;
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    if (run.file.journal) {
        const JournalSummary &summary = run.scan.summary;
        row->setText(Start, QDateTime::fromMSecsSinceEpoch(summary.startLocalMs, Qt::UTC).toString(DateTimeFormat));
        row->setText(Points, polish.toString(qulonglong(summary.chartPoints)));
        row->setText(Rows, polish.toString(qulonglong(summary.registerRows)));
    } else {
        row->setText(Start, QDir::toNativeSeparators(QFileInfo(run.file.path).fileName()));
    }
    row->setText(End, run.file.lastWritten.toString(DateTimeFormat));
    row->setText(Size, polish.formattedDataSize(run.file.size, 1, QLocale::DataSizeTraditionalFormat));
    row->setText(Remarks, remarks(run));
    for (const int right : {Points, Rows, Size})
        row->setTextAlignment(right, Qt::AlignRight | Qt::AlignVCenter);
    row->setData(Start, Qt::UserRole, run.file.path);
    row->setToolTip(Start, QDir::toNativeSeparators(run.file.path));
    if (!run.file.journal || run.scan.summary.empty())
        row->setFlags(Qt::NoItemFlags);
    return row;
}

} // namespace

KeptRunsWindow::KeptRunsWindow(const std::vector<KeptRun> &runs, QWidget *parent)
    : QDialog(parent), list_(new QTreeWidget(this))
{
    setWindowTitle(QStringLiteral("Otwórz zapisany przebieg"));
    list_->setColumnCount(ColumnCount);
    list_->setHeaderLabels({QStringLiteral("Początek"), QStringLiteral("Koniec"), QStringLiteral("Punkty wykresu"),
                            QStringLiteral("Wiersze tabeli"), QStringLiteral("Rozmiar"), QStringLiteral("Uwagi")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    for (const KeptRun &run : runs)
        list_->addTopLevelItem(item(run));
    list_->header()->resizeSections(QHeaderView::ResizeToContents);
    list_->setMinimumSize(720, 260);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    open_ = buttons->button(QDialogButtonBox::Open);
    open_->setText(QStringLiteral("Otwórz"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    open_->setEnabled(false);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { open_->setEnabled(current && (current->flags() & Qt::ItemIsEnabled)); });
    connect(list_, &QTreeWidget::itemActivated, this, &KeptRunsWindow::openChosen);
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->flags() & Qt::ItemIsEnabled) {
            list_->setCurrentItem(list_->topLevelItem(i)); // the newest run: Enter opens it
            break;
        }
    connect(buttons, &QDialogButtonBox::accepted, this, &KeptRunsWindow::openChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void KeptRunsWindow::openChosen()
{
    const QTreeWidgetItem *current = list_->currentItem();
    if (!current || !(current->flags() & Qt::ItemIsEnabled))
        return;
    accept();
    emit chosen(current->data(Start, Qt::UserRole).toString());
}

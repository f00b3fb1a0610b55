#include "RegisterPage.h"

#include "BackgroundJob.h"
#include "JobProgress.h"
#include "MeasurementSession.h"
#include "RegisterCellDelegate.h"
#include "RegisterSave.h"
#include "RegisterTableModel.h"
#include "SettingsFile.h"
#include "UserDialogs.h"

#include "ui_RegisterPage.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <limits>

namespace {

constexpr int kColumnWidth = 82;
constexpr int kRowHeight = 20;
const QString kSaveFilter = QStringLiteral("Text|*.txt|Excel|*.xls");

FileDialogRequest saveDialogRequest()
{
    FileDialogRequest request;
    request.filter = kSaveFilter;
    // No default suffix: a name typed without one takes the extension of the chosen filter.
    request.overwritePrompt = true;
    return request;
}

// The "description|pattern" pair of the filter the user picked.
QString filterPair(int index)
{
    return kSaveFilter.split(QLatin1Char('|')).mid(2 * index, 2).join(QLatin1Char('|'));
}

void setFrom(QCheckBox *box, const std::optional<bool> &value)
{
    if (value)
        box->setChecked(*value);
}

} // namespace

RegisterPage::RegisterPage(UserDialogs &dialogs, MeasurementSession &session,
                           std::function<RegisterFileInfo()> fileInfo, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::RegisterPage>()), dialogs(dialogs), session(session),
      fileInfo(std::move(fileInfo)), model(new RegisterTableModel(session.rows(), this)),
      SaveDialog4(RememberedFileDialog::Save, saveDialogRequest()), followTimer(new QTimer(this)),
      saveJob(new BackgroundJob(this))
{
    new JobProgress(*saveJob, QStringLiteral("Zapisywanie tabeli rejestracji pomiarów..."), this);
    ui->setupUi(this);
    followTimer->setSingleShot(true);
    followTimer->setInterval(50);
    connect(followTimer, &QTimer::timeout, this, [this] {
        if (followPending)
            followLastRow();
    });
    QTableView *grid = ui->StringGrid1;
    grid->setModel(model);
    grid->setItemDelegate(new RegisterCellDelegate(grid));
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setHighlightSections(false);
    QHeaderView *rows = grid->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    // The view holds only the window of rows it shows; the page's own bar scrolls the window
    // over all of them.
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->viewport()->installEventFilter(this);
    grid->installEventFilter(this);
    connect(ui->StringGrid1Rows, &QScrollBar::valueChanged, model, &RegisterTableModel::scrollTo);
    fitRowWindow();

    connect(ui->BitBtn5, &QPushButton::clicked, this, &RegisterPage::BitBtn5Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &RegisterPage::BitBtn1Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &RegisterPage::BitBtn4Click);
    connect(ui->BitBtn6, &QPushButton::clicked, this, &RegisterPage::Button1Click);
    // toggled, not clicked: a box set from code or from the settings runs its handler too.
    connect(ui->CheckBox16, &QCheckBox::toggled, this, &RegisterPage::CheckBox16Click);
    connect(ui->CheckBox12, &QCheckBox::toggled, this, &RegisterPage::CheckBox12Click);
    for (QCheckBox *box : {ui->CheckBox16, ui->CheckBox4, ui->CheckBox5, ui->CheckBox6, ui->CheckBox10, ui->CheckBox20,
                           ui->CheckBox7, ui->CheckBox8, ui->CheckBox9, ui->CheckBox11})
        connect(box, &QCheckBox::toggled, this, &RegisterPage::passChoice);
    connect(&session, &MeasurementSession::rowRegistered, this, &RegisterPage::showLastRow);
    connect(&session, &MeasurementSession::registerCleared, this, &RegisterPage::showAllRows);
    connect(&session, &MeasurementSession::runAdopted, this, &RegisterPage::showAllRows);
    connect(saveJob, &BackgroundJob::finished, this,
            [this](const BackgroundJob::Result &result) { saveFinished(result.ok, result.reason); });
    CheckBox16Click();
    CheckBox12Click();
    passChoice();
}

RegisterPage::~RegisterPage() = default;

void RegisterPage::writeTitles()
{
    model->showTitles();
}

void RegisterPage::applySettings(const Settings &settings)
{
    const Settings::Registration &r = settings.registration;
    setFrom(ui->CheckBox16, r.autoRegister);
    setFrom(ui->CheckBox4, r.channel[0]);
    setFrom(ui->CheckBox5, r.channel[1]);
    setFrom(ui->CheckBox6, r.channel[2]);
    setFrom(ui->CheckBox10, r.pk1);
    setFrom(ui->CheckBox20, r.pk2);
    setFrom(ui->CheckBox7, r.date);
    setFrom(ui->CheckBox8, r.timeOfDay);
    setFrom(ui->CheckBox9, r.measurementTime);
    setFrom(ui->CheckBox11, r.index);
    setFrom(ui->CheckBox12, r.colour);
}

void RegisterPage::storeSettings(Settings &settings) const
{
    Settings::Registration &r = settings.registration;
    r.autoRegister = ui->CheckBox16->isChecked();
    r.channel = {ui->CheckBox4->isChecked(), ui->CheckBox5->isChecked(), ui->CheckBox6->isChecked()};
    r.pk1 = ui->CheckBox10->isChecked();
    r.pk2 = ui->CheckBox20->isChecked();
    r.date = ui->CheckBox7->isChecked();
    r.timeOfDay = ui->CheckBox8->isChecked();
    r.measurementTime = ui->CheckBox9->isChecked();
    r.index = ui->CheckBox11->isChecked();
    r.colour = ui->CheckBox12->isChecked();
}

void RegisterPage::passChoice()
{
    RegisterChoice c;
    c.sampleNumber = ui->CheckBox11->isChecked();
    c.date = ui->CheckBox7->isChecked();
    c.time = ui->CheckBox8->isChecked();
    c.measTime = ui->CheckBox9->isChecked();
    c.channel = {ui->CheckBox4->isChecked(), ui->CheckBox5->isChecked(), ui->CheckBox6->isChecked()};
    c.pk1 = ui->CheckBox10->isChecked();
    c.pk2 = ui->CheckBox20->isChecked();
    session.setRegisterChoice(c);
    session.setAutoRegister(ui->CheckBox16->isChecked());
}

int RegisterPage::indexColumnWidth() const
{
    const int stamps = int(ui->CheckBox7->isChecked()) + int(ui->CheckBox8->isChecked());
    // The widths hold indexes of up to six digits; a longer run widens the column by the
    // digits that would otherwise be cut.
    const int digits = int(QString::number(std::max<qint64>(0, session.rows().size() - 1)).size());
    const QFontMetrics metrics = ui->StringGrid1->fontMetrics();
    const int beyondSix = metrics.horizontalAdvance(QString(digits, QLatin1Char('8'))) -
                          metrics.horizontalAdvance(QStringLiteral("888888"));
    return 60 + 50 * stamps + std::max(0, beyondSix);
}

void RegisterPage::BitBtn5Click()
{
    session.registerReading();
}

void RegisterPage::showLastRow()
{
    model->catchUp();
    if (const int width = indexColumnWidth(); ui->StringGrid1->columnWidth(IndexColumn) != width)
        ui->StringGrid1->setColumnWidth(IndexColumn, width);
    // The newest row becomes the last one visible: at once, then at most every 50 ms, since
    // with every sample registered, following each row would lay the view out hundreds of
    // times a second.
    if (followTimer->isActive()) {
        followPending = true;
        return;
    }
    followLastRow();
}

void RegisterPage::followLastRow()
{
    followPending = false;
    updateRowScroll();
    ui->StringGrid1Rows->setValue(ui->StringGrid1Rows->maximum());
    followTimer->start();
}

void RegisterPage::showAllRows()
{
    model->reset();
    showLastRow();
}

void RegisterPage::fitRowWindow()
{
    const bool newestShown = model->firstRow() == model->lastFirstRow();
    model->setWindowRows(std::max(1, ui->StringGrid1->viewport()->height() / kRowHeight));
    if (newestShown)
        model->scrollTo(model->lastFirstRow());
    updateRowScroll();
}

void RegisterPage::updateRowScroll()
{
    QScrollBar *bar = ui->StringGrid1Rows;
    const QSignalBlocker quiet(bar);
    // A bar counts in int: 2^31 rows of 32 bytes would not fit in memory anyway.
    bar->setRange(0, int(std::min<qint64>(model->lastFirstRow(), std::numeric_limits<int>::max())));
    bar->setPageStep(model->rowCount());
    bar->setValue(int(std::min<qint64>(model->firstRow(), std::numeric_limits<int>::max())));
}

bool RegisterPage::eventFilter(QObject *watched, QEvent *event)
{
    QTableView *grid = ui->StringGrid1;
    QScrollBar *bar = ui->StringGrid1Rows;
    if (watched == grid->viewport() && event->type() == QEvent::Resize) {
        fitRowWindow();
    } else if (watched == grid->viewport() && event->type() == QEvent::Wheel &&
               static_cast<QWheelEvent *>(event)->angleDelta().y() != 0) {
        QCoreApplication::sendEvent(bar, event);
        return true;
    } else if (watched == grid && event->type() == QEvent::KeyPress) {
        // Past the window's edge the keys move the window, the current cell staying at the edge.
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int row = grid->currentIndex().row();
        if (key == Qt::Key_Up && row <= 0)
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (key == Qt::Key_Down && row >= model->rowCount() - 1)
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        else if (key == Qt::Key_PageUp)
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        else if (key == Qt::Key_PageDown)
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        else
            return false;
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RegisterPage::CheckBox16Click()
{
    ui->BitBtn5->setEnabled(!ui->CheckBox16->isChecked());
}

void RegisterPage::CheckBox12Click()
{
    model->setColoured(ui->CheckBox12->isChecked());
}

void RegisterPage::Button1Click()
{
    if (dialogs.confirm(QStringLiteral("Czyszczenie tabeli rejestracji pomiarów...\nCzy jesteś pewien?"))) {
        session.clearRegister();
    }
}

void RegisterPage::BitBtn1Click()
{
    const std::optional<ChosenFile> chosen = SaveDialog4.execute(dialogs);
    if (!chosen)
        return;
    chosenFilter = chosen->filterIndex;
    ui->BitBtn4->setEnabled(true);
    BitBtn4Click();
}

bool RegisterPage::saving() const
{
    return saveJob->running();
}

void RegisterPage::BitBtn4Click()
{
    if (saving())
        return;
    RegisterFileInfo info = fileInfo();
    if (!info.now.isValid())
        info.now = QDateTime::currentDateTime();
    // The table as it is now: rows registered meanwhile go on growing the session's store.
    const RegisterStore rows = session.rows();
    saveMark = session.registerMark();
    const QString name = SaveDialog4.fileName();
    const QString filter = filterPair(chosenFilter);
    for (QWidget *button : {ui->BitBtn1, ui->BitBtn4, ui->BitBtn6})
        button->setEnabled(false);
    saveJob->start([rows, name, filter, info](const BackgroundJob::Progress &report) {
        const RegisterSaveResult result = saveRegister(name, filter, rows, info, report);
        return BackgroundJob::Result{result.written, false, result.message};
    });
}

void RegisterPage::saveFinished(bool ok, const QString &message)
{
    for (QWidget *button : {ui->BitBtn1, ui->BitBtn4, ui->BitBtn6})
        button->setEnabled(true);
    if (ok)
        session.registerSaved(saveMark);
    else
        dialogs.message(message);
}

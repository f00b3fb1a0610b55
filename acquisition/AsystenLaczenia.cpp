#include "AsystenLaczenia.h"

#include "DeviceLink.h"
#include "UserDialogs.h"
#include "ui_AsystenLaczenia.h"

#include "PortFailureText.h"
#include "WindowPlacement.h"

#include <QLineEdit>
#include <QTimer>

TAsystentForm::TAsystentForm(DeviceLink &link, UserDialogs &dialogs, PortEnumerator ports, QWidget *parent)
    : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TAsystentForm>()), link(link), dialogs(dialogs),
      ports(std::move(ports)), Timer1(new QTimer(this))
{
    ui->setupUi(this);
    rows = {{{ui->Image5, ui->Label1},
             {ui->Image6, ui->Label2, ui->Label3},
             {ui->Image7, ui->Label4},
             {ui->Image8, ui->Label5},
             {ui->Image9, ui->Label6},
             {ui->Image10, ui->Label7},
             {ui->Image11, ui->Label9, ui->Label10},
             {ui->Image12, ui->Label11, ui->Label12},
             {ui->Image13, ui->Label13},
             {ui->Image14, ui->Label14},
             {ui->Image15, ui->Label15},
             {ui->Image16, ui->Label16},
             {ui->Image17, ui->Label17},
             {ui->Image18, ui->Label18},
             {ui->Image19, ui->Label19},
             {ui->Image20, ui->Label20},
             {ui->Image21, ui->Label21},
             {ui->Image22, ui->Label22},
             {ui->Image23, ui->Label23}}};
    centreOnScreen(*this);
    QLabel *templates[] = {ui->Image1, ui->Image2, ui->Image3, ui->Image4};
    for (int kind = 0; kind < 4; ++kind) {
        marks[size_t(kind)] = markPicture(Mark(kind));
        templates[kind]->setPixmap(marks[size_t(kind)]);
    }
    fillPortList();
    ui->ComboBox1->lineEdit()->setMaxLength(ConnectionState::kPortNameLength);
    // An editable list copies the chosen line into its edit box: the bare name goes there,
    // and so into Label3, portName and config.ini.
    connect(ui->ComboBox1, &QComboBox::activated, this,
            [this](int index) { ui->ComboBox1->setEditText(ui->ComboBox1->itemData(index).toString()); });
    ui->BitBtn2->raise(); // lies over the other buttons while shown

    connect(ui->BitBtn3, &QPushButton::clicked, this, &TAsystentForm::BitBtn3Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &TAsystentForm::BitBtn4Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TAsystentForm::BitBtn2Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TAsystentForm::BitBtn1Click);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TAsystentForm::Timer1Timer);
    Timer1->start(50);
    showSavedPort();
}

void TAsystentForm::showSavedPort()
{
    ui->ComboBox1->setCurrentText(link.connection().portName());
}

TAsystentForm::~TAsystentForm() = default;

void TAsystentForm::showEvent(QShowEvent *event)
{
    // An adapter plugged in since the last opening appears without a restart.
    fillPortList();
    QWidget::showEvent(event);
}

void TAsystentForm::fillPortList()
{
    const QString chosen = ui->ComboBox1->currentText();
    ui->ComboBox1->clear();
    for (const PortEntry &entry : PortList::wizardEntries(ports))
        ui->ComboBox1->addItem(entry.displayText, entry.name);
    ui->ComboBox1->setEditText(chosen);
}

void TAsystentForm::setMark(int imageNumber, Mark kind)
{
    row(imageNumber).mark->setPixmap(marks[size_t(kind)]);
}

void TAsystentForm::reveal(int imageNumber, bool withLabel)
{
    Row &r = row(imageNumber);
    r.mark->show();
    if (withLabel)
        r.label->show();
}

void TAsystentForm::setProgress(int value)
{
    ui->ProgressBar1->setValue(std::min(value, ui->ProgressBar1->maximum()));
}

void TAsystentForm::showMessage(const QString &text)
{
    // A tick that falls while our own box is open must not run a step.
    inMessage = true;
    dialogs.message(text);
    inMessage = false;
}

void TAsystentForm::ShowResetDisplay()
{
    for (Row &r : rows) {
        r.label->hide();
        if (r.value)
            r.value->hide();
        r.mark->hide();
        r.mark->setPixmap(marks[size_t(Mark::Pending)]);
    }
}

void TAsystentForm::ShowFailureDisplay()
{
    for (Row &r : rows) {
        if (r.mark->isHidden())
            r.mark->setPixmap(marks[size_t(Mark::Failed)]);
        r.mark->show();
        r.label->show();
        if (r.value)
            r.value->show();
    }
    ui->BitBtn3->setEnabled(true);
    ui->BitBtn4->setEnabled(false);
}

void TAsystentForm::BitBtn3Click()
{
    ui->BitBtn2->show();
    ui->BitBtn3->setEnabled(false);
    ui->BitBtn4->setEnabled(true);
    link.beginConnecting();
    ShowResetDisplay();
    setProgress(0);
    reveal(5);
    setMark(5, Mark::Done);
    ui->Label2->show();
    ui->Label3->setText(ui->ComboBox1->currentText());
    ui->Label3->show();
    setMark(5, Mark::Pending);
    // The rows stay readable for a moment before the port is tried; the window keeps
    // painting meanwhile.
    QTimer::singleShot(100, this, &TAsystentForm::openPort);
}

void TAsystentForm::openPort()
{
    setMark(6, Mark::Pending);
    reveal(6, false);
    if (link.open(ui->ComboBox1->currentText(), 57600, true) != 0) {
        showMessage(
            PortFailureText::message(QStringLiteral("Nie znaleziono wybranego portu COM"), link.lastOpenFailure()));
        setMark(5, Mark::Failed);
        ShowFailureDisplay();
        ShowResetDisplay();
        emit openFinished(false);
        return;
    }
    setMark(5, Mark::Done);
    reveal(7);
    setMark(7, Mark::Done);
    setMark(6, Mark::Done);
    setMark(8, Mark::Pending);
    setMark(9, Mark::Pending);
    ui->BitBtn3->setEnabled(false);
    ui->BitBtn4->setEnabled(true);
    sequence.begin();
    setProgress(10);
    Timer1->start();
    emit openFinished(true);
}

void TAsystentForm::BitBtn4Click()
{
    ui->BitBtn3->setEnabled(true);
    ui->BitBtn4->setEnabled(false);
    link.disconnectInstrument();
}

void TAsystentForm::BitBtn2Click()
{
    sequence.abort();
    Timer1->stop();
    link.disconnectInstrument();
    ShowFailureDisplay();
    ui->BitBtn2->hide();
}

void TAsystentForm::BitBtn1Click()
{
    close();
}

void TAsystentForm::Timer1Timer()
{
    if (inMessage)
        return;
    setProgress(sequence.step() < WizardIdentify ? 0 : sequence.step() + 10);
    const SequenceTick tick = link.connectionStep(sequence);
    if (tick.completedStep)
        showCompleted(tick.completedStep);
    if (tick.showFailure)
        ShowFailureDisplay();
}

void TAsystentForm::showCompleted(int step)
{
    const DeviceState &device = link.device();
    switch (step) {
    case WizardIdentify:
        reveal(8);
        reveal(10, false);
        for (int mark : {8, 9, 10})
            setMark(mark, Mark::Pending);
        break;
    case 2:
        reveal(9);
        setMark(9, Mark::Done);
        setMark(10, Mark::Done);
        row(10).label->show();
        setMark(11, Mark::Pending);
        reveal(11);
        ui->Label10->show();
        if (device.deviceType != DeviceKX520S)
            showMessage(QStringLiteral("Podłączone urządzenie nie zostało rozpoznane jako KX520S!\nProgram będzie "
                                       "kontynuował pracę, ale nie gwarantuje poprawnego działania."));
        break;
    case 3:
        setMark(11, Mark::Done);
        ui->Label10->setText(versionText(device.hwVersion));
        setMark(12, Mark::Pending);
        reveal(12);
        break;
    case 4:
        setMark(12, Mark::Done);
        setMark(8, Mark::Done);
        ui->Label12->setText(versionText(device.swVersion));
        ui->Label12->show();
        setMark(13, Mark::Pending);
        setMark(14, Mark::Pending);
        reveal(13);
        reveal(14);
        break;
    case WizardFinish:
        showFinished();
        break;
    default:
        // Steps 5 to 12 each tick off their row and open the next one.
        if (step >= 5 && step <= 12) {
            setMark(step + 9, Mark::Done);
            setMark(step + 10, Mark::Pending);
            reveal(step + 10);
        }
        break;
    }
}

void TAsystentForm::showFinished()
{
    for (int mark : {22, 13, 23}) {
        setMark(mark, Mark::Done);
        row(mark).mark->show();
    }
    ui->Label23->show();
    setProgress(0);
    Timer1->stop();
    ui->BitBtn2->hide();
    ui->BitBtn3->setEnabled(false);
    ui->BitBtn4->setEnabled(true);
    emit connected();
}

#include "AsystenLaczenia.h"

#include "ConnectionState.h"
#include "DeviceState.h"
#include "RequestSender.h"
#include "Tserial_event.h"
#include "UserDialogs.h"
#include "WizardSteps.h"
#include "ui_AsystenLaczenia.h"

#include <QLineEdit>
#include <QScreen>
#include <QSerialPortInfo>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kFirstRow = 5;
constexpr int kLastRow = 23;

/// Serial ports present on this machine, under the names the port takes.
QStringList presentPorts()
{
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString name = info.portName();
        bool isSerial = false;
        const int number = name.startsWith("ttyS") ? name.mid(4).toInt(&isSerial) : 0;
        names << (isSerial ? QStringLiteral("COM%1").arg(number + 1) : name);
    }
    return names;
}

} // namespace

TAsystentForm::TAsystentForm(QWidget *parent)
    : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TAsystentForm>()), Timer1(new QTimer(this))
{
    ui->setupUi(this);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    ui->Image1->setPixmap(markPicture(Mark::Blank));
    ui->Image2->setPixmap(markPicture(Mark::Pending));
    ui->Image3->setPixmap(markPicture(Mark::Done));
    ui->Image4->setPixmap(markPicture(Mark::Failed));
    for (const QString &name : presentPorts())
        if (ui->ComboBox1->findText(name) < 0)
            ui->ComboBox1->addItem(name);
    ui->ComboBox1->lineEdit()->setMaxLength(ConnectionState::kPortNameLength);
    ui->BitBtn2->raise(); // lies over the other buttons while shown

    connect(ui->BitBtn3, &QPushButton::clicked, this, &TAsystentForm::BitBtn3Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &TAsystentForm::BitBtn4Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TAsystentForm::BitBtn2Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TAsystentForm::BitBtn1Click);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TAsystentForm::Timer1Timer);
    Timer1->start(50);
}

TAsystentForm::~TAsystentForm() = default;

void TAsystentForm::attach(const WizardContext &context)
{
    ctx.emplace(context);
    // The saved port is the one to try first.
    ui->ComboBox1->setCurrentText(ctx->connection.portName());
}

QLabel *TAsystentForm::image(int number) const
{
    return findChild<QLabel *>(QStringLiteral("Image%1").arg(number));
}

QLabel *TAsystentForm::label(int number) const
{
    return findChild<QLabel *>(QStringLiteral("Label%1").arg(number));
}

QString TAsystentForm::hardwareText() const
{
    return ui->Label10->text();
}

QString TAsystentForm::softwareText() const
{
    return ui->Label12->text();
}

void TAsystentForm::setMark(QLabel *mark, Mark kind)
{
    const QLabel *templates[] = {ui->Image1, ui->Image2, ui->Image3, ui->Image4};
    mark->setPixmap(templates[int(kind)]->pixmap());
}

void TAsystentForm::reveal(std::initializer_list<QLabel *> widgets)
{
    for (QLabel *widget : widgets)
        widget->setVisible(true);
}

void TAsystentForm::setProgress(int value)
{
    const int position = std::min(value, ui->ProgressBar1->maximum());
    if (position == ui->ProgressBar1->value())
        return;
    ui->ProgressBar1->setValue(position);
    ui->ProgressBar1->repaint();
}

void TAsystentForm::showMessage(const QString &text)
{
    // A tick that falls while our own box is open must not run a step.
    inMessage = true;
    ctx->dialogs.message(text);
    inMessage = false;
}

void TAsystentForm::ShowResetDisplay()
{
    for (int n = 1; n <= kLastRow; ++n)
        if (QLabel *row = label(n))
            row->hide();
    for (int n = kFirstRow; n <= kLastRow; ++n) {
        image(n)->hide();
        setMark(image(n), Mark::Pending);
        image(n)->repaint();
    }
}

void TAsystentForm::ShowFailureDisplay()
{
    for (int n = kFirstRow; n <= kLastRow; ++n) {
        if (image(n)->isHidden())
            setMark(image(n), Mark::Failed);
        image(n)->show();
    }
    for (int n = 1; n <= kLastRow; ++n)
        if (QLabel *row = label(n))
            row->show();
    ui->GroupBox3->repaint();
    ui->BitBtn3->setEnabled(true);
    ui->BitBtn4->setEnabled(false);
}

void TAsystentForm::BitBtn3Click()
{
    if (!ctx)
        return;
    ConnectionState &connection = ctx->connection;
    DeviceState &device = ctx->device;
    ui->BitBtn2->show();
    ui->BitBtn3->setEnabled(false);
    ui->BitBtn4->setEnabled(true);
    connection.deviceFound = false;
    ShowResetDisplay();
    const ParamFlags kept = device.Recv;
    device.Recv = ParamFlags{};
    device.Recv.presenceKnown = kept.presenceKnown;
    std::copy(std::begin(kept.Res), std::end(kept.Res), std::begin(device.Recv.Res));
    setProgress(0);
    reveal({ui->Label1, ui->Image5});
    setMark(ui->Image5, Mark::Done);
    reveal({ui->Label2});
    ui->Label3->setText(ui->ComboBox1->currentText());
    reveal({ui->Label3});
    setMark(ui->Image5, Mark::Pending);
    repaint();
    QThread::msleep(100);

    connection.quietOpen = true;
    ctx->port.setReadSize(64);
    connection.setPortName(ui->ComboBox1->currentText());
    setMark(ui->Image6, Mark::Pending);
    reveal({ui->Image6});
    const int result = ctx->port.open(connection.portName().toLocal8Bit().constData(), 57600, 0, 8, false);
    if (result != 0) {
        // No PortOpened will come to consume the flag.
        connection.quietOpen = false;
        showMessage(QStringLiteral("Nie znaleziono wybranego portu COM"));
        setMark(ui->Image5, Mark::Failed);
        ShowFailureDisplay();
        ShowResetDisplay();
        return;
    }
    // quietOpen stays raised until its PortOpened arrives, however late that is.
    setMark(ui->Image5, Mark::Done);
    reveal({ui->Label4, ui->Image7});
    setMark(ui->Image7, Mark::Done);
    setMark(ui->Image6, Mark::Done);
    setMark(ui->Image8, Mark::Pending);
    setMark(ui->Image9, Mark::Pending);
    connection.portOpen = connection.baudChosen = connection.portChosen = true;
    ui->BitBtn3->setEnabled(false);
    ui->BitBtn4->setEnabled(true);
    step = WizardIdentify;
    setProgress(10);
    Timer1->start();
}

void TAsystentForm::BitBtn4Click()
{
    if (!ctx)
        return;
    ui->BitBtn3->setEnabled(true);
    ui->BitBtn4->setEnabled(false);
    ctx->port.close();
    ctx->connection.portOpen = false;
    ctx->connection.deviceFound = false;
}

void TAsystentForm::BitBtn2Click()
{
    if (!ctx)
        return;
    step = WizardIdle;
    Timer1->stop();
    if (ctx->connection.portOpen)
        ctx->port.close();
    ctx->connection.portOpen = false;
    ctx->connection.deviceFound = false;
    ShowFailureDisplay();
    ui->BitBtn2->hide();
}

void TAsystentForm::BitBtn1Click()
{
    close();
}

void TAsystentForm::Timer1Timer()
{
    if (inMessage || !ctx)
        return;
    setProgress(step < WizardIdentify ? 0 : step + 10);
    const int running = step;
    const std::optional<WizardWait> wait = wizardWait(running);
    if (running == WizardIdentify) {
        identify();
    } else if (running == WizardFinish) {
        finish();
    } else if (wait) {
        if (wait->arrived(ctx->device)) {
            completeStep(running);
            step = running + 1;
            ticks = 0;
        } else if (ticks % 2 == 1) {
            // Asked on every second tick only: answers 50 ms apart would run together
            // within the port's 50 ms read gap and none would be recognised.
            ctx->sender.SendRead(wait->request);
        }
    }
    if (wait && ++ticks > wait->tickLimit)
        ShowFailureDisplay();
}

void TAsystentForm::identify()
{
    reveal({ui->Label5, ui->Image8, ui->Image10});
    for (QLabel *mark : {ui->Image8, ui->Image9, ui->Image10})
        setMark(mark, Mark::Pending);
    ctx->device.deviceType = DeviceUnknown;
    ctx->sender.SendRead(kx::CMD_IDENT);
    ticks = 0;
    step = WizardFirstWait;
}

void TAsystentForm::completeStep(int completed)
{
    const DeviceState &device = ctx->device;
    switch (completed) {
    case 2:
        reveal({ui->Label6, ui->Image9});
        setMark(ui->Image9, Mark::Done);
        setMark(ui->Image10, Mark::Done);
        reveal({ui->Label7});
        setMark(ui->Image11, Mark::Pending);
        reveal({ui->Image11, ui->Label9, ui->Label10});
        if (const auto name = deviceTypeName(device.deviceType))
            ctx->deviceTypeName = *name;
        if (device.deviceType != DeviceKX520S)
            showMessage(QStringLiteral("Podłączone urządzenie nie zostało rozpoznane jako KX520S!\nProgram będzie "
                                       "kontynuował pracę, ale nie gwarantuje poprawnego działania."));
        break;
    case 3:
        setMark(ui->Image11, Mark::Done);
        ui->Label10->setText(versionText(device.hwVersion));
        setMark(ui->Image12, Mark::Pending);
        reveal({ui->Image12, ui->Label11});
        break;
    case 4:
        setMark(ui->Image12, Mark::Done);
        setMark(ui->Image8, Mark::Done);
        ui->Label12->setText(versionText(device.swVersion));
        reveal({ui->Label12});
        setMark(ui->Image13, Mark::Pending);
        setMark(ui->Image14, Mark::Pending);
        reveal({ui->Image13, ui->Label13, ui->Image14, ui->Label14});
        break;
    default:
        // Steps 5 to 12 each tick off their row and open the next one.
        if (completed >= 5 && completed <= 12) {
            setMark(image(completed + 9), Mark::Done);
            setMark(image(completed + 10), Mark::Pending);
            reveal({image(completed + 10), label(completed + 10)});
        }
        break;
    }
}

void TAsystentForm::finish()
{
    for (QLabel *mark : {ui->Image22, ui->Image13, ui->Image23}) {
        setMark(mark, Mark::Done);
        mark->show();
    }
    reveal({ui->Label23});
    step = WizardIdle;
    setProgress(0);
    ConnectionState &connection = ctx->connection;
    connection.deviceFound = true;
    Timer1->stop();
    ui->BitBtn2->hide();
    connection.portOpen = connection.baudChosen = connection.portChosen = true;
    ui->BitBtn3->setEnabled(false);
    ui->BitBtn4->setEnabled(true);
    ctx->refreshPanel();
    // The instrument's values become the wanted ones, except the resolutions the panel holds.
    DeviceParams &set = ctx->device.Set;
    const DeviceParams &stan = ctx->device.Stan;
    float resolutions[3];
    std::copy(std::begin(set.Res), std::end(set.Res), resolutions);
    set = stan;
    std::copy(std::begin(resolutions), std::end(resolutions), std::begin(set.Res));
}

#include "Main.h"

#include "AsystenLaczenia.h"
#include "BurstRoute.h"
#include "Com_debugger.h"
#include "DeviceView.h"
#include "LiveReadout.h"
#include "MeasurementDecoder.h"
#include "Mnoznikunit.h"
#include "NumberFormat.h"
#include "ReplyHandler.h"
#include "ResolutionControls.h"
#include "SettingsFile.h"
#include "StartDirPath.h"
#include "UserDialogs.h"
#include "Wartoscunit.h"
#include "ui_Main.h"

#include <QAbstractEventDispatcher>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QStyle>

namespace {
const QStringList kRegisterTitles = {"Index", "Czas [s]", "Czujnik 0", "Czujnik 1", "Czujnik 2", "PK1", "PK2"};
}

TForm1::TForm1(UserDialogs &dialogs, AcquisitionPacer::Clock clock, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), dialogs(dialogs),
      sender([this](const kx::ProtocolFrame &frame) {
          serialPort.send(reinterpret_cast<const char *>(frame.data()), int(frame.size()));
      }),
      pacer(std::move(clock))
{
    ui->setupUi(this);
    ui->port1->menuAction()->setVisible(false);
    const auto icon = [this](QAction *item, QStyle::StandardPixmap fallback) {
        item->setIcon(QIcon::fromTheme(item->icon().name(), style()->standardIcon(fallback)));
    };
    icon(ui->zakocz1, QStyle::SP_DialogCloseButton);
    icon(ui->wizard1, QStyle::SP_DriveNetIcon);
    icon(ui->pomocprogramu1, QStyle::SP_DialogHelpButton);
    icon(ui->instrukcjaKX520Q1, QStyle::SP_FileIcon);
    ui->Label67->hide();
    ui->Label68->hide();
    adjustSize();
    setFixedSize(size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    resolution = std::make_unique<ResolutionControls>(
        std::array<ResolutionControls::Row, 3>{{{ui->Edit8, ui->UpDown5, ui->ComboBox3},
                                                {ui->Edit10, ui->UpDown6, ui->ComboBox4},
                                                {ui->Edit11, ui->UpDown7, ui->ComboBox5}}},
        deviceState);
    connectControls();
    // Runs whenever the event queue has become empty.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TForm1::ApplicationIdle);

    startDir = QDir::currentPath();
    view = std::make_unique<DeviceView>(*ui, *resolution, startDir);
    readout = std::make_unique<LiveReadout>(*ui);
    loadSettings();
    serialPort.setNotifier([this](Tserial_event *port, int event) { OnPortEvent(port, event); });
    deviceTypeName = QStringLiteral("<nierozpoznane>");
    connectionState.quietOpen = false;
    // The lists start at "10bit": their click actions make 1024 the wanted resolutions.
    ComboBox3Click();
    ComboBox4Click();
    ComboBox5Click();

    Timer1 = makeTimer("Timer1", 50);
    Timer2 = makeTimer("Timer2", 250);
    Timer3 = makeTimer("Timer3", 1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
}

QTimer *TForm1::makeTimer(const char *name, int intervalMs)
{
    auto *timer = new QTimer(this);
    timer->setObjectName(QLatin1String(name));
    timer->start(intervalMs);
    return timer;
}

TForm1::~TForm1()
{
    // The worker must not hand anything to a window that is going away, nor keep the exit waiting.
    serialPort.shutdownQuietly();
}

void TForm1::attachWindows(const Windows &attached)
{
    windows = attached;
    sender.setTrace(windows.monitor);
    view->attachDialogs(windows.wartosc, windows.mnoznik);
    if (windows.wizard)
        windows.wizard->attach(
            {serialPort, sender, deviceState, connectionState, deviceTypeName, dialogs, [this] { refreshPanel(); }});
}

void TForm1::connectControls()
{
    connect(ui->zakocz1, &QAction::triggered, this, &TForm1::zakocz1Click);
    connect(ui->debugger1, &QAction::triggered, this, &TForm1::debugger1Click);
    connect(ui->wizard1, &QAction::triggered, this, &TForm1::wizard1Click);
    connect(ui->BitBtn7, &QPushButton::clicked, this, &TForm1::BitBtn7Click);
    connect(ui->pocz1, &QAction::triggered, this, &TForm1::pocz1Click);
    connect(ui->rozcz1, &QAction::triggered, this, &TForm1::rozcz1Click);
    auto *ports = new QActionGroup(this);
    for (QAction *item : ui->port1->actions()) {
        ports->addAction(item);
        if (item != ui->auto1)
            connect(item, &QAction::triggered, this, [this, item] { portItemClick(item); });
    }
    connect(ui->auto1, &QAction::triggered, this, &TForm1::auto1Click);
    connect(ui->SpeedButton10, &QPushButton::clicked, this, &TForm1::SpeedButton10Click);
    connect(ui->SpeedButton11, &QPushButton::clicked, this, &TForm1::SpeedButton11Click);
    connect(ui->SpeedButton12, &QPushButton::clicked, this, &TForm1::SpeedButton12Click);
    connect(ui->CheckBox15, &QCheckBox::toggled, this, &TForm1::CheckBox15Click);
    connect(ui->CheckBox18, &QCheckBox::toggled, this, &TForm1::CheckBox18Click);
    // Setting these from code acts like a click: toggled runs the handler either way.
    connect(ui->CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    connect(ui->CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
    connect(ui->CheckBox3, &QCheckBox::toggled, this, &TForm1::CheckBox3Click);
}

void TForm1::loadSettings()
{
    QFile file(resolveStartDirPath(startDir, QStringLiteral("\\config.ini")));
    if (!file.exists()) {
        dialogs.message(QStringLiteral("nie odnaleziono pliku konfiguracyjnego!"));
        return;
    }
    // A file that cannot be read reads as one that ends at once.
    const ConfigValues values = readConfigValues(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    QCheckBox *active[] = {ui->CheckBox1, ui->CheckBox2, ui->CheckBox3};
    for (int i = 0; i < 3; ++i)
        if (values.number[1 + i])
            active[i]->setChecked(*values.number[1 + i] != 0);
    if (values.number[4])
        ui->CheckBox18->setChecked(*values.number[4] != 0);
    if (values.number[5])
        ui->CSpinEdit2->setValue(std::clamp(*values.number[5], ui->CSpinEdit2->minimum(), ui->CSpinEdit2->maximum()));
    connectionState.setPortName(values.port);
    for (int column = 0; column < kRegisterTitles.size(); ++column)
        ui->StringGrid1->setItem(0, column, new QTableWidgetItem(kRegisterTitles[column]));
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
    // The main window's close ends the program, whatever other windows are open.
    QCoreApplication::quit();
}

void TForm1::FormShow() {}

void TForm1::FormClose() {}

void TForm1::zakocz1Click()
{
    close();
}

void TForm1::activeBoxClick(int sensor)
{
    QCheckBox *boxes[] = {ui->CheckBox1, ui->CheckBox2, ui->CheckBox3};
    if (!deviceState.sensorPresent[sensor])
        boxes[sensor]->setChecked(false);
}

void TForm1::ComboBox3Click()
{
    resolution->listClick(0);
}
void TForm1::ComboBox4Click()
{
    resolution->listClick(1);
}
void TForm1::ComboBox5Click()
{
    resolution->listClick(2);
}
void TForm1::UpDown5ChangingEx(int newValue)
{
    resolution->UpDownChangingEx(0, newValue);
}
void TForm1::UpDown6ChangingEx(int newValue)
{
    resolution->UpDownChangingEx(1, newValue);
}
void TForm1::UpDown7ChangingEx(int newValue)
{
    resolution->UpDownChangingEx(2, newValue);
}

void TForm1::OnPortEvent(Tserial_event *port, int event)
{
    if (!port)
        return;
    // Worker thread: copy and queue, never wait for the window. Queued calls keep arrival order.
    switch (event) {
    case Tserial_event::PortOpened:
    case Tserial_event::PortClosed:
        QMetaObject::invokeMethod(
            this, [this, event] { portNotification(event); }, Qt::QueuedConnection);
        break;
    case Tserial_event::DataArrived: {
        const QByteArray burst(port->rxData(), port->rxSize());
        QMetaObject::invokeMethod(
            this, [this, burst] { HandleBurst(burst); }, Qt::QueuedConnection);
        port->rxDone();
        break;
    }
    default:
        break;
    }
}

void TForm1::portNotification(int event)
{
    if (event == Tserial_event::PortOpened) {
        connectionState.portOpen = true;
        const QString portMessage = QStringLiteral("Otwarto port %1\n Predkosc: %2 kb/s")
                                        .arg(connectionState.portName(), QString::number(connectionState.baudRate));
        if (!std::exchange(connectionState.quietOpen, false))
            dialogs.information(portMessage, QStringLiteral("OK"));
    } else {
        // Cleared before the box: while the user reads it, nothing may take the port for open.
        connectionState.portOpen = false;
        dialogs.information(QStringLiteral("Zamknieto port %1").arg(connectionState.portName()), QStringLiteral("OK"));
    }
}

void TForm1::HandleBurst(const QByteArray &burst)
{
    if (!connectionState.portOpen)
        return;
    const auto *p = reinterpret_cast<const uint8_t *>(burst.constData());
    const auto n = size_t(burst.size());
    switch (routeBurst(p, n)) {
    case BurstRoute::Measurement:
        if (ui->CheckBox18->isChecked()) {
            if (const auto periodMs = samplePeriod.frame(pacer.state().measTime))
                ui->Label67->setText(FormatGeneral(RoundDecimal(*periodMs, -2)));
        }
        HandleMeasurement(p, n);
        break;
    case BurstRoute::Reply:
        HandleReply(p);
        break;
    case BurstRoute::Nothing:
        break;
    }
}

void TForm1::HandleReply(const uint8_t *p)
{
    view->showReply(HandleReplyFrame(p, deviceState, windows.monitor), deviceState);
}

void TForm1::HandleMeasurement(const uint8_t *p, size_t n)
{
    const MeasurementResult result = decodeMeasurement(p, n, deviceState, channelState);
    if (!result.accepted)
        return;
    for (int i = 0; i < 3; ++i)
        if (result.presenceChanged & (1 << i))
            view->showPresence(i, deviceState.sensorPresent[i]);
    UpdateReadout();
    if (ui->CheckBox16->isChecked())
        BitBtn5Click();
    AppendSamplePoints();
    pacer.state().zapytanie = false;
}

void TForm1::UpdateReadout()
{
    readout->UpdateReadout(channelState, deviceState.Stan.mode);
}

void TForm1::Timer1Timer()
{
    readout->Timer1Timer(pacer.state(), channelState, ui->CheckBox18->isChecked(), ui->CSpinEdit2->value());
}

// The register and the chart take the sample from here.
void TForm1::BitBtn5Click() {}
void TForm1::AppendSamplePoints() {}

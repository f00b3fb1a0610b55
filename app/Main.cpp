#include "Main.h"

#include "AsystenLaczenia.h"
#include "Corrections.h"
#include "DeviceLink.h"
#include "DeviceView.h"
#include "FirmwareUpdate.h"
#include "HelpDocuments.h"
#include "LiveReadout.h"
#include "NumberFormat.h"
#include "O_programie_unit.h"
#include "ResolutionControls.h"
#include "SettingsFile.h"
#include "SettingsPanel.h"
#include "StartDirPath.h"
#include "SteadyLabel.h"
#include "UserDialogs.h"
#include "WindowPlacement.h"
#include "ui_Main.h"

#include <QCloseEvent>
#include <QFile>
#include <QShortcut>
#include <QStyle>
#include <QTimer>

TForm1::TForm1(DeviceLink &link, UserDialogs &dialogs, const ProgramFolders &folders, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), link(link), dialogs(dialogs), folders_(folders)
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
    holdLabelSize(ui->Label67, QStringLiteral("88888,88"));
    ui->Label68->hide();

    sensors = {{
        {ui->GroupBox1, ui->CheckBox1, ui->Edit1, ui->Edit23, ui->CGauge1, ui->PaintBox1, ui->Label4, ui->Label5,
         ui->Label6, ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton21, ui->SpeedButton18,
         ui->SpeedButton26},
        {ui->GroupBox2, ui->CheckBox2, ui->Edit2, ui->Edit24, ui->CGauge2, ui->PaintBox2, ui->Label10, ui->Label12,
         ui->Label11, ui->SpeedButton4, ui->SpeedButton5, ui->SpeedButton6, ui->SpeedButton22, ui->SpeedButton24,
         ui->SpeedButton27},
        {ui->GroupBox3, ui->CheckBox3, ui->Edit3, ui->Edit25, ui->CGauge3, ui->PaintBox3, ui->Label16, ui->Label18,
         ui->Label17, ui->SpeedButton7, ui->SpeedButton8, ui->SpeedButton9, ui->SpeedButton23, ui->SpeedButton25,
         ui->SpeedButton28},
    }};
    resolution = std::make_unique<ResolutionControls>(
        std::array<ResolutionControls::Row, 3>{{{ui->Edit8, ui->UpDown5, ui->ComboBox3},
                                                {ui->Edit10, ui->UpDown6, ui->ComboBox4},
                                                {ui->Edit11, ui->UpDown7, ui->ComboBox5}}},
        link);
    panel = std::make_unique<SettingsPanel>(SettingsControls{ui->ComboBox1, ui->ComboBox2, ui->Image2, ui->Edit5,
                                                             ui->UpDown3, ui->Edit6, ui->Edit7, ui->Edit4, ui->UpDown1,
                                                             ui->Edit9, ui->UpDown4, ui->CheckBox15, ui->BitBtn3,
                                                             ui->Label63, ui->Label64, ui->Label65},
                                            link, folders_);
    connectControls();
    connectLink();
    for (const SensorControls &sensor : sensors)
        connect(sensor.active, &QCheckBox::toggled, this, [this] { emit activeChannelsChanged(activeChannels()); });
    link.setSampling(ui->CheckBox18->isChecked(), ui->CSpinEdit2->value());
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

TForm1::~TForm1() = default;

QTimer *TForm1::makeTimer(const char *name, int intervalMs)
{
    auto *timer = new QTimer(this);
    timer->setObjectName(QLatin1String(name));
    timer->start(intervalMs);
    return timer;
}

void TForm1::attach(const Windows &attached, const Tools &attachedTools, const Pages &pages)
{
    windows = attached;
    tools = attachedTools;
    ui->tab4Layout->addWidget(pages.chart);
    ui->tab5Layout->addWidget(pages.registerPage);
    readout = std::make_unique<LiveReadout>(sensors, std::array<QLabel *, 2>{ui->Panel1, ui->Panel2},
                                            LiveReadout::Labels{ui->Label51, ui->Label40});
    corrections = std::make_unique<Corrections>(sensors, link, *windows.wartosc, *windows.mnoznik);
    view = std::make_unique<DeviceView>(sensors, *panel, *resolution, *corrections);
    adjustSize();
    setFixedSize(size());
    centreOnScreen(*this);
}

void TForm1::connectControls()
{
    connect(ui->zakocz1, &QAction::triggered, this, &TForm1::zakocz1Click);
    connect(ui->otworzPrzebieg1, &QAction::triggered, this, &TForm1::otworzPrzebieg1Click);
    connect(ui->Aktualizacja1, &QAction::triggered, this, &TForm1::Aktualizacja1Click);
    connect(ui->pomocprogramu1, &QAction::triggered, this, &TForm1::pomocprogramu1Click);
    connect(ui->instrukcjaKX520Q1, &QAction::triggered, this, &TForm1::instrukcjaKX520Q1Click);
    connect(ui->orpogramie1, &QAction::triggered, this, &TForm1::orpogramie1Click);
    connect(ui->debugger1, &QAction::triggered, this, &TForm1::debugger1Click);
    // The monitor's menu item stays hidden, as on the instrument's service laptops: a key opens it.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), this), &QShortcut::activated, this,
            &TForm1::debugger1Click);
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
    connect(ui->CheckBox18, &QCheckBox::toggled, this, &TForm1::CheckBox18Click);
    connect(ui->CSpinEdit2, &QSpinBox::valueChanged, this,
            [this](int periodMs) { link.setSampling(ui->CheckBox18->isChecked(), periodMs); });
}

void TForm1::connectLink()
{
    connect(&link, &DeviceLink::opened, this, &TForm1::showPortOpened);
    connect(&link, &DeviceLink::closed, this, &TForm1::showPortClosed);
    connect(&link, &DeviceLink::replyHandled, this,
            [this](const ReplyEffect &effect) { view->showReply(effect, link.device()); });
    connect(&link, &DeviceLink::presenceChanged, this, [this](int sensor, bool present) {
        view->showPresence(sensor, present);
        corrections->showPresence(sensor, present);
    });
    connect(&link, &DeviceLink::parametersReloaded, this, &TForm1::refreshPanel);
    connect(&link, &DeviceLink::samplePeriodMeasured, this,
            [this](double periodMs) { ui->Label67->setText(FormatGeneral(RoundDecimal(periodMs, -2))); });
}

void TForm1::applySettings(const Settings &settings)
{
    for (size_t i = 0; i < 3; ++i)
        if (settings.channelActive[i])
            sensors[i].active->setChecked(*settings.channelActive[i]);
    if (settings.sampling.continuous)
        ui->CheckBox18->setChecked(*settings.sampling.continuous);
    if (settings.sampling.periodMs)
        ui->CSpinEdit2->setValue(*settings.sampling.periodMs);
}

void TForm1::applyPortSetting(const Settings &settings)
{
    // A port lost to a damaged file falls back to "COM1" instead of reaching the wizard empty.
    link.setPortName(portNameOrDefault(settings.portName));
}

void TForm1::storeSettings(Settings &settings)
{
    const std::array<bool, 3> active = activeChannels();
    for (size_t i = 0; i < 3; ++i)
        settings.channelActive[i] = active[i];
    settings.sampling.continuous = ui->CheckBox18->isChecked();
    // Text that is not a number is written as 10, and the box then shows it.
    ui->CSpinEdit2->interpretText();
    settings.sampling.periodMs = ui->CSpinEdit2->value();
    settings.portName = link.connection().portName();
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!closingUnasked && closeGuard && !closeGuard()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    // The main window's close ends the program, whatever other windows are open.
    QCoreApplication::quit();
}

void TForm1::closeUnasked()
{
    closingUnasked = true;
    close();
}

void TForm1::FormShow()
{
    emit shown();
}

void TForm1::FormClose()
{
    emit closing();
}

void TForm1::zakocz1Click()
{
    close();
}

void TForm1::Aktualizacja1Click()
{
    tools.firmware->Aktualizacja1Click();
}

void TForm1::pomocprogramu1Click()
{
    tools.help->pomocprogramu1Click();
}

void TForm1::instrukcjaKX520Q1Click()
{
    tools.help->instrukcjaKX520Q1Click();
}

void TForm1::orpogramie1Click()
{
    windows.about->showAbout();
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

void TForm1::UpdateReadout(const Sample &sample)
{
    readout->UpdateReadout(sample, link.device().Stan.mode);
}

void TForm1::Timer1Timer()
{
    if (!readout || link.acquisition().idleStep == 0.0)
        return;
    emit readoutTicked(
        readout->Timer1Timer(link.acquisitionTime(), ui->CheckBox18->isChecked(), ui->CSpinEdit2->value()));
}

std::array<bool, 3> TForm1::activeChannels() const
{
    return {sensors[0].active->isChecked(), sensors[1].active->isChecked(), sensors[2].active->isChecked()};
}

#pragma once

#include "AcquisitionPacer.h"
#include "ConnectionState.h"
#include "DeviceState.h"
#include "ParameterSync.h"
#include "RequestSender.h"
#include "SamplePeriodMeter.h"
#include "Tserial_event.h"

#include <QByteArray>
#include <QMainWindow>
#include <memory>

class QTimer;

namespace Ui {
class TForm1;
}
class DeviceView;
class LiveReadout;
class ResolutionControls;
class UserDialogs;
class TMnoznikForm;
class TWartoscForm;
class TO_programieForm;
class TKonigLiniiForm;
class TCOM_DBG_Form;
class TAsystentForm;

/// The main window. It owns the port, the device state and every long-lived object of
/// the program; the other windows are attached after it is built.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    struct Windows {
        TMnoznikForm *mnoznik = nullptr;
        TWartoscForm *wartosc = nullptr;
        TO_programieForm *about = nullptr;
        TKonigLiniiForm *lines = nullptr;
        TCOM_DBG_Form *monitor = nullptr;
        TAsystentForm *wizard = nullptr;
    };

    /// The clock gives the time of day for the acquisition pacing.
    explicit TForm1(UserDialogs &dialogs, AcquisitionPacer::Clock clock = AcquisitionPacer::systemTime,
                    QWidget *parent = nullptr);
    ~TForm1() override;

    void attachWindows(const Windows &windows);

    /// The port's notifier; runs on the port's worker thread and only hands over.
    void OnPortEvent(Tserial_event *port, int event);
    /// The user-interface half of a DataArrived: routes the burst to the reply or the
    /// measurement handling while the port is open.
    void HandleBurst(const QByteArray &burst);

    const ConnectionState &connection() const { return connectionState; }
    const DeviceState &device() const { return deviceState; }
    const ChannelState &channels() const { return channelState; }
    const AcquisitionState &acquisition() const { return pacer.state(); }
    ParameterSync &synchronisation() { return sync; }
    /// Wanted values, as the settings panel and the correction dialogs write them.
    DeviceParams &wanted() { return deviceState.Set; }
    const QString &startDirectory() const { return startDir; }
    Tserial_event &port() { return serialPort; }

    void FormShow();
    void FormClose();
    void zakocz1Click();
    void debugger1Click();
    void wizard1Click();
    void BitBtn7Click() { wizard1Click(); }
    void pocz1Click();
    void rozcz1Click();
    void portItemClick(QAction *item);
    void auto1Click();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void ApplicationIdle();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void CheckBox18Click();
    void CheckBox15Click();
    void CheckBox1Click() { activeBoxClick(0); }
    void CheckBox2Click() { activeBoxClick(1); }
    void CheckBox3Click() { activeBoxClick(2); }
    void ComboBox3Click();
    void ComboBox4Click();
    void ComboBox5Click();
    void UpDown5ChangingEx(int newValue);
    void UpDown6ChangingEx(int newValue);
    void UpDown7ChangingEx(int newValue);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QTimer *makeTimer(const char *name, int intervalMs);
    void connectControls();
    void loadSettings();
    void portNotification(int event);
    void HandleReply(const uint8_t *p);
    void HandleMeasurement(const uint8_t *p, size_t n);
    void UpdateReadout();
    void BitBtn5Click();
    void AppendSamplePoints();
    void activeBoxClick(int sensor);
    void lockSettingsGroups(bool locked, bool pauseOrder = false);
    void refreshPanel();

    std::unique_ptr<Ui::TForm1> ui;
    UserDialogs &dialogs;
    Windows windows;
    std::unique_ptr<ResolutionControls> resolution;
    std::unique_ptr<DeviceView> view;
    std::unique_ptr<LiveReadout> readout;

    Tserial_event serialPort;
    RequestSender sender;
    QString startDir;
    QString deviceTypeName;
    ConnectionState connectionState;
    DeviceState deviceState;
    ChannelState channelState;
    AcquisitionPacer pacer;
    ParameterSync sync;
    SamplePeriodMeter samplePeriod;

    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;
};

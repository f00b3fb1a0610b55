#pragma once

#include "ProgramFolders.h"
#include "SensorControls.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class QTimer;

namespace Ui {
class TForm1;
}
class Corrections;
class DeviceLink;
class DeviceView;
class LiveReadout;
class ResolutionControls;
class SettingsPanel;
class UserDialogs;
class TMnoznikForm;
class TWartoscForm;
class TCOM_DBG_Form;
class TAsystentForm;
class TO_programieForm;
class FirmwareUpdate;
class HelpDocuments;
struct Sample;
struct Settings;

/// The main window: the menus, the two tabs of live readings and instrument settings,
/// the pages placed in the other tabs, and the timers that drive them.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    /// The windows the main window opens and shows replies in.
    struct Windows {
        TMnoznikForm *mnoznik;
        TWartoscForm *wartosc;
        TCOM_DBG_Form *monitor;
        TAsystentForm *wizard;
        TO_programieForm *about;
    };
    /// What the "Program" and "Pomoc" menus start.
    struct Tools {
        FirmwareUpdate *firmware;
        HelpDocuments *help;
    };
    /// The pages placed into the chart and register tabs.
    struct Pages {
        QWidget *chart;
        QWidget *registerPage;
    };

    TForm1(DeviceLink &link, UserDialogs &dialogs, const ProgramFolders &folders, QWidget *parent = nullptr);
    ~TForm1() override;

    /// Attaches the windows created after the main window, the tools and the pages.
    void attach(const Windows &windows, const Tools &tools, const Pages &pages);

    /// The working folder, the program's startDir.
    const QString &startDirectory() const { return folders_.work; }
    const ProgramFolders &folders() const { return folders_; }
    /// Lines 1-5 of the settings: the "Aktywny" boxes, applied as clicks, and the sampling.
    void applySettings(const Settings &settings);
    /// Line 21: the port to connect to.
    void applyPortSetting(const Settings &settings);
    /// Lines 1-5 and 21 as they stand at close.
    void storeSettings(Settings &settings);

    /// Asked before the window closes at the user's wish; false keeps it open.
    void setCloseGuard(std::function<bool()> mayClose) { closeGuard = std::move(mayClose); }
    /// Closes without asking, as the end of the user's session must.
    void closeUnasked();

    void FormShow();
    void FormClose();
    void zakocz1Click();
    void otworzPrzebieg1Click() { emit keptRunsRequested(); }
    void Aktualizacja1Click();
    void pomocprogramu1Click();
    void instrukcjaKX520Q1Click();
    void orpogramie1Click();
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
    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void CheckBox18Click();
    void ComboBox3Click();
    void ComboBox4Click();
    void ComboBox5Click();
    void UpDown5ChangingEx(int newValue);
    void UpDown6ChangingEx(int newValue);
    void UpDown7ChangingEx(int newValue);

    /// The "Aktywny" boxes.
    std::array<bool, 3> activeChannels() const;

    /// The live indicators of one sample.
    void UpdateReadout(const Sample &sample);
    /// The settings panel and the device labels from the reported values.
    void refreshPanel();

signals:
    void shown();
    /// The readout's 50 ms tick while time runs, with the sampling rate it shows.
    void readoutTicked(const QString &rate);
    /// The one-time connection a second after start-up is about to begin.
    void startUpConnection();
    /// The window is closing: the settings are saved now.
    void closing();
    /// "Otwórz zapisany przebieg...".
    void keptRunsRequested();
    /// An "Aktywny" box changed, by a click or from code.
    void activeChannelsChanged(const std::array<bool, 3> &active);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QTimer *makeTimer(const char *name, int intervalMs);
    void connectControls();
    void connectLink();
    void lockSettingsGroups(bool locked, bool pauseOrder = false);
    void showPortOpened(bool quiet);
    void showPortClosed();

    std::unique_ptr<Ui::TForm1> ui;
    std::function<bool()> closeGuard;
    bool closingUnasked = false;
    DeviceLink &link;
    UserDialogs &dialogs;
    Windows windows{};
    Tools tools{};
    std::array<SensorControls, 3> sensors;
    std::unique_ptr<ResolutionControls> resolution;
    std::unique_ptr<SettingsPanel> panel;
    std::unique_ptr<Corrections> corrections;
    std::unique_ptr<DeviceView> view;
    std::unique_ptr<LiveReadout> readout;
    ProgramFolders folders_;

    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;
};

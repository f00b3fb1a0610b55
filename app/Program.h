#pragma once

#include "ProgramFolders.h"
#include "RegisterFileInfo.h"

#include <QList>
#include <memory>

class QWidget;
class UserDialogs;
class DeviceLink;
class TForm1;
class TMnoznikForm;
class TWartoscForm;
class TO_programieForm;
class TKonigLiniiForm;
class TCOM_DBG_Form;
class TAsystentForm;
class ChartPage;
class RegisterPage;
class ExternalLauncher;
class SystemLauncher;
class FirmwareUpdate;
class HelpDocuments;
class LinkPortControl;
class RunJournal;
class KeptRunOpening;
class MeasurementSession;
struct JournalScan;
struct RebuiltRun;

/// The program: its link to the instrument, its seven windows, created in their fixed
/// order and destroyed in reverse, and the pages of the main window, wired together.
class Program {
public:
    /// External programs and documents start through the launcher; without one, for real.
    /// Without folders the program works in the current directory, as when not installed.
    explicit Program(UserDialogs &dialogs, ExternalLauncher *launcher = nullptr,
                     const ProgramFolders &folders = ProgramFolders::current());
    ~Program();

    DeviceLink &link() { return *link_; }
    TForm1 &main() { return *form1; }
    TAsystentForm &wizard() { return *asystent; }
    TCOM_DBG_Form &monitor() { return *debugger; }
    MeasurementSession &session() { return *session_; }
    ChartPage &chart() { return *chartPage; }
    RegisterPage &registerPage() { return *registerPage_; }
    KeptRunOpening &keptRuns() { return *keptRuns_; }
    /// In the order of creation.
    QList<QWidget *> windows() const;

private:
    /// Reads the journal left by an unclean end, if any, into a chart and a register, once, behind
    /// a progress window: the question needs its counts, and a Yes needs nothing more.
    std::shared_ptr<RebuiltRun> readLeftOverJournal();
    void wireSession();
    RegisterFileInfo registerFileInfo() const;
    void wireJournal();
    void reportJournalStop(UserDialogs &dialogs);
    /// Whether to take back the chart and register read from a journal left by an unclean end;
    /// one the user does not want, or whose reading was stopped, is kept aside.
    bool askToRecover(UserDialogs &dialogs, const RebuiltRun &left);
    void keepJournalAside(UserDialogs &dialogs, const JournalScan *partial = nullptr);
    /// Whether the main window may close: asked when something is unsaved.
    bool mayClose(UserDialogs &dialogs) const;
    QString configPath() const;
    void loadSettings(UserDialogs &dialogs);
    void saveSettings(UserDialogs &dialogs);

    std::unique_ptr<SystemLauncher> systemLauncher;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<LinkPortControl> linkPort;
    std::unique_ptr<MeasurementSession> session_;
    std::unique_ptr<FirmwareUpdate> firmware;
    std::unique_ptr<HelpDocuments> help;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TMnoznikForm> mnoznik;
    std::unique_ptr<TWartoscForm> wartosc;
    std::unique_ptr<TO_programieForm> about;
    std::unique_ptr<TKonigLiniiForm> lines;
    std::unique_ptr<TCOM_DBG_Form> debugger;
    std::unique_ptr<TAsystentForm> asystent;
    std::unique_ptr<RunJournal> journal_;
    std::unique_ptr<KeptRunOpening> keptRuns_;
    /// False when config.ini exists but could not be read: it is then left as it is.
    bool settingsWritable_ = true;
    // Owned by the main window's tabs once placed.
    ChartPage *chartPage = nullptr;
    RegisterPage *registerPage_ = nullptr;
};

#include "Program.h"

#include "SettingsFile.h"
#include "UserDialogs.h"

#include "AsystenLaczenia.h"
#include "ChartPage.h"
#include "Com_debugger.h"
#include "DeviceLink.h"
#include "Konfigliniform.h"
#include "Main.h"
#include "MeasurementSession.h"
#include "Mnoznikunit.h"
#include "O_programie_unit.h"
#include "RegisterPage.h"
#include "Wartoscunit.h"

#include "ExternalLauncher.h"
#include "FirmwareUpdate.h"
#include "HelpDocuments.h"

#include "BackgroundJob.h"
#include "ChartData.h"
#include "JobProgress.h"
#include "JournalRecovery.h"
#include "KeptRunOpening.h"
#include "KeptRuns.h"
#include "RegisterStore.h"
#include "RunJournal.h"
#include "UserSettings.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

/// The firmware update closes the port through the link.
class LinkPortControl : public PortControl {
public:
    explicit LinkPortControl(DeviceLink &link) : link(link) {}
    bool portOpen() const override { return link.connection().portOpen; }
    void closePort() override { link.close(); }

private:
    DeviceLink &link;
};

namespace {

// The housekeeping limits of the kept runs, written out on first use so that the user finds them.
KeptRunLimits keptRunLimits()
{
    KeptRunLimits limits;
    UserSettings settings;
    settings.beginGroup(QStringLiteral("KeptRuns"));
    const auto read = [&settings](const QString &key, double fallback) {
        bool number = false;
        const double value = settings.value(key).toDouble(&number);
        if (number && value > 0)
            return value;
        settings.setValue(key, fallback); // missing, or nothing a limit can be
        return fallback;
    };
    limits.maxAgeDays = int(read(QStringLiteral("maxAgeDays"), limits.maxAgeDays));
    limits.maxTotalBytes = qint64(read(QStringLiteral("maxTotalGB"), double(limits.maxTotalBytes) / 1e9) * 1e9);
    return limits;
}

} // namespace

Program::Program(UserDialogs &dialogs, ExternalLauncher *launcher, const ProgramFolders &folders)
{
    QApplication::setApplicationName(QStringLiteral("KX520S-PC"));
    // The main window alone decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    // The journal lives in the working folder. It is asked about before any window exists, so
    // that nothing (the start-up connection above all) runs behind the question.
    journal_ = std::make_unique<RunJournal>(journalPath(folders.work));
    tidyKeptRuns(keptRunsFolder(journal_->path()), keptRunLimits(), QDateTime::currentDateTime());
    reportJournalStop(dialogs);
    std::shared_ptr<RebuiltRun> left = readLeftOverJournal();
    if (left && !askToRecover(dialogs, *left))
        left.reset();
    link_ = std::make_unique<DeviceLink>();
    form1 = std::make_unique<TForm1>(*link_, dialogs, folders);
    mnoznik = std::make_unique<TMnoznikForm>();
    wartosc = std::make_unique<TWartoscForm>();
    about = std::make_unique<TO_programieForm>();
    lines = std::make_unique<TKonigLiniiForm>();
    debugger = std::make_unique<TCOM_DBG_Form>();
    asystent = std::make_unique<TAsystentForm>(*link_, dialogs);
    link_->setTrace(debugger.get());
    if (!launcher) {
        systemLauncher = std::make_unique<SystemLauncher>();
        launcher = systemLauncher.get();
    }
    linkPort = std::make_unique<LinkPortControl>(*link_);
    firmware = std::make_unique<FirmwareUpdate>(dialogs, *launcher, *linkPort, folders);
    help = std::make_unique<HelpDocuments>(dialogs, *launcher, folders);

    session_ = std::make_unique<MeasurementSession>(
        AcquisitionClock{.now = [this] { return link_->acquisitionTime(); },
                         .set = [this](double seconds) { link_->setAcquisitionTime(seconds); },
                         .goOnFrom = [this](double seconds) { link_->continueRunFrom(seconds); }});
    chartPage = new ChartPage(dialogs, *lines, *session_);
    QObject::connect(form1.get(), &TForm1::shown, chartPage, &ChartPage::FormShow);
    QObject::connect(form1.get(), &TForm1::readoutTicked, chartPage, &ChartPage::showRate);
    QObject::connect(form1.get(), &TForm1::readoutTicked, chartPage, &ChartPage::followLastPage);
    QObject::connect(form1.get(), &TForm1::startUpConnection, chartPage, &ChartPage::resetPaging);
    registerPage_ = new RegisterPage(dialogs, *session_, [this] { return registerFileInfo(); });
    form1->attach({mnoznik.get(), wartosc.get(), debugger.get(), asystent.get(), about.get()},
                  {firmware.get(), help.get()}, {chartPage, registerPage_});
    QObject::connect(asystent.get(), &TAsystentForm::connected, form1.get(), &TForm1::refreshPanel);
    wireSession();
    loadSettings(dialogs);
    QObject::connect(form1.get(), &TForm1::closing, form1.get(), [this, &dialogs] { saveSettings(dialogs); });
    form1->setCloseGuard([this, &dialogs] { return mayClose(dialogs); });
    wireJournal();
    keptRuns_ = std::make_unique<KeptRunOpening>(dialogs, *journal_, *session_, form1.get());
    QObject::connect(form1.get(), &TForm1::keptRunsRequested, keptRuns_.get(), &KeptRunOpening::open);
    if (left) {
        journal_->goOnAfter(left->scan);
        session_->adopt(std::move(left->chart), std::move(left->rows), left->scan.summary.lastTime);
    }
}

QString Program::configPath() const
{
    return form1->folders().workFile(QStringLiteral("\\config.ini"));
}

void Program::loadSettings(UserDialogs &dialogs)
{
    QFile file(configPath());
    if (!file.exists()) {
        dialogs.message(QStringLiteral("nie odnaleziono pliku konfiguracyjnego!"));
        return;
    }
    QByteArray contents;
    if (file.open(QIODevice::ReadOnly))
        contents = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        // Writing the defaults over it at exit would lose the user's settings for good.
        settingsWritable_ = false;
        dialogs.message(QStringLiteral("Nie można odczytać pliku konfiguracyjnego „%1”: %2.\n"
                                       "Program użyje ustawień domyślnych i nie zapisze ich w tym pliku.")
                            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
        return;
    }
    // Each part applies its own lines, in the file's order.
    const Settings settings = readSettings(contents);
    form1->applySettings(settings);
    chartPage->applySettings(settings);
    registerPage_->applySettings(settings);
    registerPage_->writeTitles();
    form1->applyPortSetting(settings);
    lines->applySettings(settings);
    asystent->showSavedPort();
}

void Program::saveSettings(UserDialogs &dialogs)
{
    if (!settingsWritable_)
        return;
    Settings settings;
    form1->storeSettings(settings);
    chartPage->storeSettings(settings);
    registerPage_->storeSettings(settings);
    lines->storeSettings(settings);
    const QString path = configPath();
    const SaveResult result = ::saveSettings(path, settings);
    if (!result.ok)
        dialogs.message(QStringLiteral("Ustawienia nie zostały zapisane w pliku „%1”: %2").arg(path, result.reason));
}

void Program::wireSession()
{
    // Each sample goes to the readout, then to the session, which registers it and charts it.
    QObject::connect(link_.get(), &DeviceLink::sampleDecoded, form1.get(), &TForm1::UpdateReadout);
    QObject::connect(link_.get(), &DeviceLink::sampleDecoded, session_.get(), &MeasurementSession::takeSample);
    QObject::connect(form1.get(), &TForm1::activeChannelsChanged, session_.get(),
                     &MeasurementSession::setActiveChannels);
    QObject::connect(lines.get(), &TKonigLiniiForm::outputLinesChanged, session_.get(),
                     &MeasurementSession::setOutputLines);
    session_->setActiveChannels(form1->activeChannels());
    session_->setOutputLines(lines->height(0), lines->offset(0), lines->height(1), lines->offset(1));
}

RegisterFileInfo Program::registerFileInfo() const
{
    RegisterFileInfo info;
    info.deviceTypeName = link_->deviceTypeName();
    info.measTime = link_->acquisitionTime();
    info.continuous = link_->continuousSampling();
    info.periodMs = link_->samplingPeriodMs();
    info.now = QDateTime::currentDateTime();
    const std::array<bool, 3> &active = session_->activeChannels();
    for (size_t i = 0; i < 3; ++i)
        info.channelShown[i] = link_->device().sensorPresent[i] && active[i];
    return info;
}

void Program::wireJournal()
{
    RunJournal *journal = journal_.get();
    QObject::connect(session_.get(), &MeasurementSession::pointAppended, journal, &RunJournal::chartPoint);
    QObject::connect(session_.get(), &MeasurementSession::chartCleared, journal, &RunJournal::chartCleared);
    QObject::connect(session_.get(), &MeasurementSession::rowRegistered, journal, &RunJournal::registerRow);
    QObject::connect(session_.get(), &MeasurementSession::registerCleared, journal, &RunJournal::registerCleared);
    QObject::connect(session_.get(), &MeasurementSession::chartWhollyExported, journal, &RunJournal::chartExported);
    QObject::connect(session_.get(), &MeasurementSession::registerWhollySaved, journal, &RunJournal::registerSaved);
    QObject::connect(form1.get(), &TForm1::closing, journal, &RunJournal::finish);
}

bool Program::mayClose(UserDialogs &dialogs) const
{
    if (!session_->unsavedWork())
        return true;
    if (!journal_->journaling()) // the run cannot be kept: nothing may be promised
        return dialogs.confirm(QStringLiteral("Pomiary nie zostały zapisane, a zabezpieczanie pomiarów jest "
                                              "wyłączone: nie zostaną zachowane.\nZamknąć program?"));
    return dialogs.confirm(QStringLiteral("Pomiary nie zostały zapisane. Zamknąć program? Przebieg zostanie zachowany "
                                          "i można go otworzyć z menu Program."));
}

void Program::reportJournalStop(UserDialogs &dialogs)
{
    // Possibly reported from the writer's thread: the message waits for the user-interface
    // thread, and sampling goes on meanwhile.
    QObject::connect(
        journal_.get(), &RunJournal::stopped, journal_.get(),
        [&dialogs](const QString &reason) {
            dialogs.message(QStringLiteral("Zabezpieczanie pomiarów na wypadek awarii zostało wyłączone: %1.\n"
                                           "Pomiary trwają dalej; wykres i tabelę rejestracji można zapisać "
                                           "jak zwykle.")
                                .arg(reason));
        },
        Qt::QueuedConnection);
}

std::shared_ptr<RebuiltRun> Program::readLeftOverJournal()
{
    if (!QFileInfo::exists(journal_->path()))
        return {};
    auto left = std::make_shared<RebuiltRun>();
    BackgroundJob reading;
    auto *progress = new JobProgress(reading, QStringLiteral("Odczyt zapisu awaryjnego pomiarów..."), nullptr);
    progress->showCount(journalReadingText);
    // No window exists yet, so nothing else can run meanwhile; the loop serves the progress window.
    QEventLoop wait;
    QObject::connect(&reading, &BackgroundJob::finished, &wait, &QEventLoop::quit);
    const RunJournal *journal = journal_.get();
    reading.start([journal, left](const BackgroundJob::Progress &report) {
        left->scan = journal->rebuild(left->chart, left->rows, report);
        return BackgroundJob::Result{!left->scan.stopped, left->scan.stopped, {}};
    });
    wait.exec();
    return left;
}

bool Program::askToRecover(UserDialogs &dialogs, const RebuiltRun &left)
{
    if (left.scan.stopped) { // "Przerwij" while reading: kept aside as a No is
        keepJournalAside(dialogs, &left.scan);
        return false;
    }
    const std::optional<JournalSummary> summary = journal_->leftOver(left.scan);
    if (!summary)
        return false;
    if (dialogs.confirm(journalQuestion(*summary, QFileInfo(journal_->path()).lastModified())))
        return true;
    keepJournalAside(dialogs);
    return false;
}

void Program::keepJournalAside(UserDialogs &dialogs, const JournalScan *partial)
{
    QString error;
    if (!(partial ? journal_->keepAside(*partial, &error) : journal_->keepAside(&error)))
        dialogs.message(QStringLiteral("Zapisu pomiarów nie udało się odłożyć: %1.\n"
                                       "Pozostaje w pliku „%2”; nowe pomiary nie będą zabezpieczane "
                                       "na wypadek awarii.")
                            .arg(error, QDir::toNativeSeparators(journal_->path())));
}

Program::~Program()
{
    // The port stops first; the windows then go in reverse order of creation (the members'
    // order), each before the main window whose state it refers to, and the link last.
    link_->shutdown();
}

QList<QWidget *> Program::windows() const
{
    return {form1.get(), mnoznik.get(), wartosc.get(), about.get(), lines.get(), debugger.get(), asystent.get()};
}

#pragma once

#include "KeptRunsWindow.h"

#include <QObject>
#include <QPointer>
#include <QString>

class BackgroundJob;
class MeasurementSession;
class QWidget;
class RunJournal;
class UserDialogs;

/// "Program → Otwórz zapisany przebieg...": reads the kept runs, lets the user choose one and
/// rebuilds the chart and the register from it in the background, as a recovery does; the run
/// then goes on from where the kept one ended. Sampling goes on meanwhile, and whatever of the
/// current run is unsaved is kept aside before the chosen run takes its place.
class KeptRunOpening : public QObject {
    Q_OBJECT

public:
    KeptRunOpening(UserDialogs &dialogs, RunJournal &journal, MeasurementSession &session, QWidget *window);

    /// Reads the list, then shows it.
    void open();
    /// Rebuilds from the run at path and takes it up.
    void openRun(const QString &path);
    bool busy() const;
    /// The list, while it is shown.
    KeptRunsWindow *listWindow() const { return list_; }

signals:
    /// A kept run became the current one.
    void runOpened(const QString &path);

private:
    UserDialogs &dialogs_;
    RunJournal &journal_;
    MeasurementSession &session_;
    QWidget *window_;
    BackgroundJob *listing_;
    BackgroundJob *rebuilding_;
    QPointer<KeptRunsWindow> list_;
};

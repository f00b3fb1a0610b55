#pragma once

#include "ChartPaging.h"
#include "SavedState.h"

#include <QWidget>
#include <memory>

namespace Ui {
class ChartPage;
}
class ChartExport;
class ChartPlot;
struct Sample;
class MeasurementSession;
class QLabel;
class QLineEdit;
class QTimer;
class TKonigLiniiForm;
class UserDialogs;
struct Settings;

/// The "Wykres" tab: the readings and output lines plotted against the acquisition time,
/// recorded, paged, zoomed and exported.
class ChartPage : public QWidget {
    Q_OBJECT

public:
    /// Plots the session's points and sends it the record, pause, stop and clear buttons.
    ChartPage(UserDialogs &dialogs, TKonigLiniiForm &lines, MeasurementSession &session, QWidget *parent = nullptr);
    ~ChartPage() override;

    /// The sampling rate above the chart, as the readout shows it.
    void showRate(const QString &rate);

    const ChartPaging &paging() const { return paging_; }

    void SpeedButton15Click(); ///< record
    void SpeedButton16Click(); ///< pause
    void SpeedButton19Click(); ///< stop
    void SpeedButton17Click(); ///< clear
    void SpeedButton20Click(); ///< full view
    void CheckBox17Click();
    void CSpinEdit1Change();
    void SpeedButton13Click(); ///< last page
    void SpeedButton14Click(); ///< first page
    void BitBtn2Click();       ///< the output lines' window
    /// Each tick of the readout: the last page is followed while recording.
    void followLastPage();
    /// The main window was shown: paging starts as its box says.
    void FormShow();
    /// The start-up connection: paging off and reset.
    void resetPaging();

    /// Lines 6-8 of the settings, in their order.
    void applySettings(const Settings &settings);
    void storeSettings(Settings &settings) const;

private:
    void selectPage(int page);
    /// The readings above the chart: those of the active channels, as the readout shows them.
    void showReadings(const Sample &sample);
    /// Redraws at most once per 50 ms, however fast samples arrive.
    void scheduleRedraw();

    std::unique_ptr<Ui::ChartPage> ui;
    TKonigLiniiForm &lines;
    MeasurementSession &session;
    const ChartData &chart;
    ChartPaging paging_;
    ChartPlot *plot;
    ChartExport *exporter;
    QTimer *redrawTimer;
    SavedState::Mark exportMark;
};

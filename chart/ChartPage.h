#pragma once

#include "ChartData.h"
#include "ChartPaging.h"
#include "SamplePoints.h"
#include "Sample.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

namespace Ui {
class ChartPage;
}
class ChartExport;
class ChartPlot;
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
    /// What the chart needs from the main window: which channels are active, and a way to
    /// restart the acquisition time when recording starts or stops.
    struct MainWindowLink {
        std::function<std::array<bool, 3>()> activeChannels;
        std::function<void()> restartTime;
    };

    ChartPage(UserDialogs &dialogs, TKonigLiniiForm &lines, MainWindowLink main, QWidget *parent = nullptr);
    ~ChartPage() override;

    /// The reading of each sensor shown above the chart.
    QLineEdit *valueField(int sensor) const;
    /// The sampling rate shown above the chart.
    QLabel *rateLabel() const;

    void AppendSamplePoints(const Sample &sample);
    /// Takes the points rebuilt after an unclean end in place of the chart's own.
    void adopt(ChartData &&data);
    bool chartRecording() const { return recording; }
    const ChartData &data() const { return chart; }
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

signals:
    /// What the recording chart took from a sample, for the run's journal.
    void pointAppended(const ChartSample &point);
    void cleared();

private:
    void selectPage(int page);
    /// Redraws at most once per 50 ms, however fast samples arrive.
    void scheduleRedraw();

    std::unique_ptr<Ui::ChartPage> ui;
    TKonigLiniiForm &lines;
    MainWindowLink main;
    ChartData chart;
    ChartPaging paging_;
    ChartPlot *plot;
    ChartExport *exporter;
    QTimer *redrawTimer;
    bool recording = false;
};

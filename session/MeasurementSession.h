#pragma once

#include "AcquisitionClock.h"
#include "ChartData.h"
#include "RegisterStore.h"
#include "Registration.h"
#include "Sample.h"
#include "SamplePoints.h"
#include "SavedState.h"

#include <QObject>
#include <array>
#include <optional>

/// The run's measurements, apart from any window: each sample becomes a register row (while
/// "autoodczyt" is on) and chart points (while recording), computed from the inputs the user
/// set (the channels' "Aktywny" boxes, the output lines' heights and offsets, the register's
/// columns). It owns the chart's points and the register's rows; the pages show them and send
/// the user's commands here, and the journal follows its signals.
class MeasurementSession : public QObject {
    Q_OBJECT

public:
    explicit MeasurementSession(AcquisitionClock clock, QObject *parent = nullptr);

    // Inputs.

    void setActiveChannels(const std::array<bool, 3> &active);
    const std::array<bool, 3> &activeChannels() const { return active_; }
    /// The heights and offsets of the PK1 and PK2 lines, as the chart plots them from now on.
    void setOutputLines(int32_t H1, int32_t F1, int32_t H2, int32_t F2);
    void setRegisterChoice(const RegisterChoice &choice) { choice_ = choice; }
    /// "autoodczyt": every sample is registered.
    void setAutoRegister(bool on) { autoRegister_ = on; }

    /// Each decoded sample, in order.
    void takeSample(const Sample &sample);

    // The chart.

    /// Record: the chart is cleared and records from acquisition time 0.
    void record();
    /// Pause: recording stops or goes on; nothing is cleared.
    void pauseRecording();
    /// Stop: recording ends, the chart is cleared and the acquisition time starts again at 0.
    void stopRecording();
    void clearChart();
    bool recording() const { return recording_; }
    const ChartData &chart() const { return chart_; }

    // The register.

    /// "Odczytaj pozycje": registers what the readout shows now.
    void registerReading();
    void clearRegister();
    const RegisterStore &rows() const { return rows_; }

    /// Takes a run rebuilt from a journal in place of the session's own points and rows; the
    /// acquisition time goes on from `lastTime`, the time of the run's last sample. Nothing of
    /// it counts as saved.
    void adopt(ChartData &&chart, RegisterStore &&rows, double lastTime);

    // Saving. A save or export takes its mark when it copies the points or rows it writes,
    // and hands it back once the file is written.

    SavedState::Mark chartMark() const { return chartSaved_.mark(); }
    void chartExported(const SavedState::Mark &mark);
    SavedState::Mark registerMark() const { return registerSaved_.mark(); }
    void registerSaved(const SavedState::Mark &mark);
    /// Points or rows taken since they were last saved or exported.
    bool unsavedWork() const { return chartSaved_.unsaved() || registerSaved_.unsaved(); }

signals:
    /// Each sample once it is registered and charted.
    void sampleTaken(const Sample &sample);
    /// A point recorded into the chart.
    void pointAppended(const ChartSample &point);
    void chartCleared();
    /// A row appended to the register.
    void rowRegistered(const RegisterRow &row);
    void registerCleared();
    /// The points and rows were replaced as a whole.
    void runAdopted();
    /// Everything the chart or the register holds is now saved in a file.
    void chartWhollyExported();
    void registerWhollySaved();

private:
    void appendRow(const RegisterSample &reading);
    void chartPoint(const Sample &sample);

    AcquisitionClock clock_;
    ChartData chart_;
    RegisterStore rows_;
    bool recording_ = false;
    bool autoRegister_ = false;
    RegisterChoice choice_;
    std::array<bool, 3> active_{true, true, true};
    std::array<int32_t, 4> lines_{}; ///< H1 F1 H2 F2
    std::array<std::optional<float>, 3> shown_;
    bool pk1_ = false;
    bool pk2_ = false;
    SavedState chartSaved_;
    SavedState registerSaved_;
};

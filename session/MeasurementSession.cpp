#include "MeasurementSession.h"

MeasurementSession::MeasurementSession(AcquisitionClock clock, QObject *parent)
    : QObject(parent), clock_(std::move(clock))
{
}

void MeasurementSession::setActiveChannels(const std::array<bool, 3> &active)
{
    active_ = active;
}

void MeasurementSession::setOutputLines(int32_t H1, int32_t F1, int32_t H2, int32_t F2)
{
    lines_ = {H1, F1, H2, F2};
}

void MeasurementSession::takeSample(const Sample &sample)
{
    pk1_ = sample.pk1;
    pk2_ = sample.pk2;
    // The readout shows an inactive channel's last reading, not this one.
    for (size_t i = 0; i < 3; ++i)
        if (active_[i])
            shown_[i] = sample.value[i];
    if (autoRegister_)
        appendRow({sample.time, shown_, active_, sample.pk1, sample.pk2, {}});
    if (recording_)
        chartPoint(sample);
    emit sampleTaken(sample);
}

void MeasurementSession::chartPoint(const Sample &sample)
{
    ChartSample point;
    point.measTime = sample.time;
    for (size_t i = 0; i < 3; ++i) {
        point.channelValue[i] = sample.value[i];
        point.active[i] = active_[i];
    }
    point.pk1State = sample.pk1;
    point.pk2State = sample.pk2;
    point.H1 = lines_[0];
    point.F1 = lines_[1];
    point.H2 = lines_[2];
    point.F2 = lines_[3];
    appendSamplePoints(chart_, point);
    chartSaved_.taken();
    emit pointAppended(point);
}

void MeasurementSession::record()
{
    clearChart();
    recording_ = true;
    clock_.set(0);
}

void MeasurementSession::pauseRecording()
{
    recording_ = !recording_;
}

void MeasurementSession::stopRecording()
{
    recording_ = false;
    clearChart();
    clock_.set(0);
}

void MeasurementSession::clearChart()
{
    chart_.clear();
    chartSaved_.cleared();
    emit chartCleared();
}

void MeasurementSession::registerReading()
{
    appendRow({clock_.now(), shown_, active_, pk1_, pk2_, {}});
}

void MeasurementSession::appendRow(const RegisterSample &reading)
{
    RegisterSample stamped = reading;
    // The clock is read only for a row that shows it: the local time costs a look at the time
    // zone, at every sample while "autoodczyt" is on.
    if (choice_.date || choice_.time)
        stamped.now = clock_.localTime();
    const RegisterRow row = registerRow(stamped, choice_);
    rows_.append(row);
    registerSaved_.taken();
    emit rowRegistered(row);
}

void MeasurementSession::clearRegister()
{
    rows_.clear();
    registerSaved_.cleared();
    emit registerCleared();
}

void MeasurementSession::adopt(ChartData &&chart, RegisterStore &&rows, double lastTime)
{
    chart_ = std::move(chart);
    rows_ = std::move(rows);
    chartSaved_.cleared();
    chartSaved_.taken(chart_.longestSeries());
    registerSaved_.cleared();
    registerSaved_.taken(quint64(rows_.size()));
    // New points follow the run's own, instead of starting at 0 on top of them. The run's last
    // sample is told, not found here: rows kept over a chart's restart carry an older time base.
    clock_.goOnFrom(lastTime);
    emit runAdopted();
}

void MeasurementSession::chartExported(const SavedState::Mark &mark)
{
    chartSaved_.saved(mark);
    if (!chartSaved_.unsaved())
        emit chartWhollyExported();
}

void MeasurementSession::registerSaved(const SavedState::Mark &mark)
{
    registerSaved_.saved(mark);
    if (!registerSaved_.unsaved())
        emit registerWhollySaved();
}

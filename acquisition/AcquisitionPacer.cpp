#include "AcquisitionPacer.h"

#include <chrono>
#include <ctime>

AcquisitionPacer::AcquisitionPacer(Clock clock) : clock_(std::move(clock)) {}

bool AcquisitionPacer::idlePass(bool continuous, int periodMs, int32_t deviceType)
{
    AcquisitionState &s = state_;
    s.timeNow = clock_();
    // Only the hundredths are compared: whole seconds between two passes are lost.
    s.idleStep = (s.timeNow.hundredths - s.timePrev.hundredths) * 0.01;
    if (s.idleStep < 0)
        s.idleStep = (100 - s.timePrev.hundredths + s.timeNow.hundredths) * 0.01;
    s.timePrev = clock_();

    if (!s.GO || deviceType == 0)
        return false;
    s.measTime += s.idleStep;
    if (!continuous) {
        s.nextRequestIn -= s.idleStep;
        if (s.nextRequestIn > 0.005)
            return false;
        s.nextRequestIn = periodMs * 0.001;
        s.bledna_transmisja = 0;
        return true;
    }
    if (!s.zapytanie) {
        s.zapytanie = true;
        s.replyTimeout = 0.05f;
        return true;
    }
    s.replyTimeout -= float(s.idleStep);
    if (s.replyTimeout <= 0) {
        s.zapytanie = false;
        s.bledna_transmisja = 1;
    }
    return false;
}

void AcquisitionPacer::start()
{
    state_.measTime = 0;
    state_.nextRequestIn = 0;
    state_.GO = true;
}

void AcquisitionPacer::stop()
{
    state_.GO = false;
    state_.measTime = 0;
    state_.nextRequestIn = 0;
}

void AcquisitionPacer::pause()
{
    state_.GO = !state_.GO;
}

TimeOfDay AcquisitionPacer::systemTime()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return {uint8_t(local.tm_min), uint8_t(local.tm_hour), uint8_t(ms / 10), uint8_t(local.tm_sec)};
}

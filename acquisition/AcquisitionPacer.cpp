#include "AcquisitionPacer.h"

#include <algorithm>
#include <chrono>
#include <utility>

AcquisitionPacer::AcquisitionPacer(Clock clock, WakeTimer wake) : clock_(std::move(clock)), wake_(std::move(wake))
{
    // The first pass measures from here, not from the clock's origin.
    state_.timePrev = clock_();
}

bool AcquisitionPacer::idlePass(bool continuous, int periodMs, int32_t deviceType)
{
    AcquisitionState &s = state_;
    s.timeNow = clock_();
    s.idleStep = std::max(0.0, s.timeNow - s.timePrev);
    s.timePrev = s.timeNow;

    bool send = false;
    if (s.GO && deviceType != 0) {
        s.measTime += s.idleStep;
        if (!continuous) {
            s.nextRequestIn -= s.idleStep;
            if (s.nextRequestIn <= 0.005) {
                // The overshoot is not carried over: the period starts afresh here. A pass
                // that falls within the tolerance before the time keeps what was left, so
                // that early requests do not shorten the period the operator typed.
                s.nextRequestIn = periodMs * 0.001 + std::max(0.0, s.nextRequestIn);
                s.bledna_transmisja = 0;
                send = true;
            }
        } else if (!s.zapytanie) {
            s.zapytanie = true;
            s.replyTimeout = 0.05f;
            send = true;
        } else {
            s.replyTimeout -= float(s.idleStep);
            if (s.replyTimeout <= 0) {
                s.zapytanie = false;
                s.bledna_transmisja = 1;
            }
        }
    }
    requestWake(continuous, deviceType);
    return send;
}

bool AcquisitionPacer::frameHandled(bool continuous, int periodMs, int32_t deviceType)
{
    state_.zapytanie = false;
    return continuous && idlePass(continuous, periodMs, deviceType);
}

void AcquisitionPacer::requestWake(bool continuous, int32_t deviceType)
{
    const AcquisitionState &s = state_;
    if (!s.GO || deviceType == 0)
        wake(-1);
    else if (!continuous)
        wake(std::max(0.0, s.nextRequestIn));
    else
        // A time-out just seen lets the repeated request leave at the next pass.
        wake(s.zapytanie ? std::max(0.0, double(s.replyTimeout)) : 0.0);
}

void AcquisitionPacer::wake(double seconds) const
{
    if (wake_)
        wake_(seconds);
}

void AcquisitionPacer::restartStep()
{
    state_.timePrev = clock_();
}

void AcquisitionPacer::start()
{
    state_.measTime = std::exchange(startAt_, 0.0);
    state_.nextRequestIn = 0;
    state_.GO = true;
    restartStep();
    wake(0);
}

void AcquisitionPacer::stop()
{
    state_.GO = false;
    state_.measTime = 0;
    state_.nextRequestIn = 0;
    startAt_ = 0;
    wake(-1);
}

void AcquisitionPacer::pause()
{
    state_.GO = !state_.GO;
    if (state_.GO)
        restartStep();
    wake(state_.GO ? 0 : -1);
}

void AcquisitionPacer::hold()
{
    state_.GO = false;
    wake(-1);
}

void AcquisitionPacer::deviceIdentified()
{
    restartStep();
    if (state_.GO)
        wake(0);
}

void AcquisitionPacer::setTime(double seconds, bool deviceKnown)
{
    // The next pass adds the time since the previous one, which is already part of now.
    state_.measTime = seconds - (elapsed(deviceKnown) - state_.measTime);
    startAt_ = 0;
}

void AcquisitionPacer::continueFrom(double seconds, bool deviceKnown)
{
    setTime(seconds, deviceKnown);
    startAt_ = seconds;
}

double AcquisitionPacer::elapsed(bool deviceKnown) const
{
    if (!state_.GO || !deviceKnown)
        return state_.measTime;
    return state_.measTime + std::max(0.0, clock_() - state_.timePrev);
}

double AcquisitionPacer::monotonicTime()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

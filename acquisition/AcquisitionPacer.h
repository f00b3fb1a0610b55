#pragma once

#include <cstdint>
#include <functional>

/// The acquisition state shared with the measurement handling and the listing.
struct AcquisitionState {
    bool GO = false;
    bool zapytanie = false; ///< a measurement request is outstanding
    int32_t bledna_transmisja = 0;
    double measTime = 0; ///< seconds of acquisition time
    double idleStep = 0; ///< seconds between the last two passes
    double nextRequestIn = 0;
    float replyTimeout = 0;
    double timeNow = 0;  ///< the monotonic clock at this pass, seconds
    double timePrev = 0; ///< the monotonic clock at the previous pass, seconds
};

/// Decides, at each pass, whether the measurement request leaves: one every
/// sampling period in timed mode, or one as soon as the previous was answered (with a
/// 0.05 s time-out) in continuous mode. While acquisition runs it asks its wake-up timer
/// for the pass at which its next decision is due, so that pacing never waits for some
/// other event; while stopped it asks for none.
class AcquisitionPacer {
public:
    /// Seconds on a monotonic clock.
    using Clock = std::function<double()>;
    /// Asks for an idle pass after the given seconds, replacing the previous request; a
    /// negative time cancels it.
    using WakeTimer = std::function<void(double seconds)>;

    explicit AcquisitionPacer(Clock clock, WakeTimer wake = {});

    AcquisitionState &state() { return state_; }
    const AcquisitionState &state() const { return state_; }

    /// One idle pass; true when the measurement request must be sent now.
    bool idlePass(bool continuous, int periodMs, int32_t deviceType);
    /// A measurement frame has been handled: nothing is outstanding any more. In continuous
    /// mode the next pass runs at once; true when its request must be sent now.
    bool frameHandled(bool continuous, int periodMs, int32_t deviceType);

    void start();
    void stop();
    void pause();
    /// Requests stop leaving; the time stays as it is.
    void hold();
    /// The instrument has just been identified: a running acquisition goes on from now.
    void deviceIdentified();
    /// The acquisition time from here on counts from `seconds`.
    void setTime(double seconds, bool deviceKnown);
    /// As setTime, and the next start goes on from here too instead of from 0: a run taken
    /// back from its journal continues. Any other setTime or a stop forgets it.
    void continueFrom(double seconds, bool deviceKnown);
    /// The acquisition time now: measTime and what has run since the last pass.
    double elapsed(bool deviceKnown) const;

    /// The system's monotonic clock.
    static double monotonicTime();

private:
    void requestWake(bool continuous, int32_t deviceType);
    /// Time while stopped or paused does not count: the next pass measures from now.
    void restartStep();
    void wake(double seconds) const;

    Clock clock_;
    WakeTimer wake_;
    AcquisitionState state_;
    double startAt_ = 0; ///< measTime at the next start
};

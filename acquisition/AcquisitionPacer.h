#pragma once

#include <cstdint>
#include <functional>

/// A reading of the time of day, as the pacing keeps it.
struct TimeOfDay {
    uint8_t minutes = 0;
    uint8_t hours = 0;
    uint8_t hundredths = 0;
    uint8_t seconds = 0;
};

/// The acquisition state shared with the measurement handling and the listing.
struct AcquisitionState {
    bool GO = false;
    bool zapytanie = false; ///< a measurement request is outstanding
    int32_t bledna_transmisja = 0;
    double measTime = 0; ///< seconds of acquisition time
    double idleStep = 0;
    double nextRequestIn = 0;
    float replyTimeout = 0;
    TimeOfDay timeNow;
    TimeOfDay timePrev;
};

/// Decides, at each idle pass, whether the measurement request leaves: one every
/// sampling period in timed mode, or one as soon as the previous was answered (with a
/// 0.05 s time-out) in continuous mode. Time comes from the clock in hundredths.
class AcquisitionPacer {
public:
    using Clock = std::function<TimeOfDay()>;

    explicit AcquisitionPacer(Clock clock);

    AcquisitionState &state() { return state_; }
    const AcquisitionState &state() const { return state_; }

    /// One idle pass; true when the measurement request must be sent now.
    bool idlePass(bool continuous, int periodMs, int32_t deviceType);

    void start();
    void stop();
    void pause();

    /// The system clock's time of day.
    static TimeOfDay systemTime();

private:
    Clock clock_;
    AcquisitionState state_;
};

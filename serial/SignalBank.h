#pragma once

#include <array>
#include <atomic>

/// The seven signals of the serial port's worker, with their reset kinds.
/// Setting a signal wakes the worker through one event descriptor; the worker
/// takes the signalled one with the lowest index first.
class SignalBank {
public:
    enum Index {
        stopEvent,
        readDoneEvent,
        startReadEvent,
        writeDoneEvent,
        startWriteEvent,
        statusDoneEvent,
        startStatusEvent,
        Count
    };

    SignalBank();
    ~SignalBank();
    SignalBank(const SignalBank &) = delete;
    SignalBank &operator=(const SignalBank &) = delete;

    bool valid() const { return wakeFd_ >= 0; }
    static bool manualReset(int index);

    void set(int index);
    void reset(int index);
    bool anySet() const;

    /// The lowest signalled index, or -1; automatic-reset signals are reset as they are taken.
    int takeFirst();

    int wakeFd() const { return wakeFd_; }
    void drainWake();

private:
    std::array<std::atomic<bool>, Count> state_{};
    int wakeFd_ = -1;
};

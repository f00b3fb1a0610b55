#pragma once

#include "RequestAssembler.h"
#include "SimFaults.h"
#include "SimInstrument.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

/// Serves a SimInstrument on a pseudo-terminal from a thread of its own. The program opens
/// "/dev/" + portName() as its serial port.
class PtyInstrument {
public:
    /// Opens the terminal pair and starts serving; throws std::system_error on failure.
    PtyInstrument();
    ~PtyInstrument();
    PtyInstrument(const PtyInstrument &) = delete;
    PtyInstrument &operator=(const PtyInstrument &) = delete;

    /// The port's name under /dev, e.g. "pts/5".
    std::string portName() const { return portName_; }

    /// Also restarts the count of replies that dropEvery works on.
    void setFaults(const SimFaults &faults);
    void setIdentity(std::string_view letters);
    void setSensorPresent(int sensor, bool present);

    /// Runs f(SimInstrument &) while the serving thread keeps off the model.
    template <class F> auto withModel(F f)
    {
        std::lock_guard lock(mutex_);
        return f(model_);
    }

    /// Request frames taken from the line, answered or not.
    int requestsServed() const { return served_; }

    struct LoggedRequest {
        uint8_t cmd;
        std::chrono::steady_clock::time_point at;
    };
    /// From now on keeps the command and arrival time of every request, to measure pacing.
    void startRequestLog();
    std::vector<LoggedRequest> requestLog();

    /// Pulls the plug: closes both ends of the terminal, and the program's port sees a hang-up.
    /// Returns once the line is closed.
    void disconnect();

    /// Ends the serving thread; the destructor does it too.
    void stop();

private:
    void run();
    void serve(const kx::ProtocolFrame &request);
    void send(const std::vector<uint8_t> &reply, bool paced);
    /// Waits until `deadline`; false when a stop or disconnect wants the thread first.
    bool waitUntil(std::chrono::steady_clock::time_point deadline);
    void wake();
    void closeLine();

    int master_ = -1;
    int slave_ = -1; // kept open so the line stays up while the program has the port closed
    int wake_ = -1;
    std::string portName_;

    std::mutex mutex_; // guards the model, the faults, the reply count and the line's fds
    std::condition_variable lineClosed_;
    SimInstrument model_;
    SimFaults faults_;
    int repliesSinceFaults_ = 0;
    std::chrono::steady_clock::time_point lastAdvance_;
    bool disconnectWanted_ = false;
    bool serving_ = false;

    RequestAssembler assembler_;
    std::atomic<int> served_{0};
    bool logging_ = false;
    std::vector<LoggedRequest> log_;
    std::atomic<bool> stopWanted_{false};
    std::thread thread_;
};

#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

/// Runs a function on a thread of its own at the time last asked for, so that what it does
/// never waits for the user-interface thread, however busy that is.
class WakeThread {
public:
    explicit WakeThread(std::function<void()> pass);
    ~WakeThread();
    WakeThread(const WakeThread &) = delete;
    WakeThread &operator=(const WakeThread &) = delete;

    /// The pass runs after `seconds`, replacing the time asked for before; negative: not at
    /// all. Any thread may ask, the pass itself included.
    void arm(double seconds);
    /// Ends the thread, waiting for a pass under way; no pass runs after it. Also the destructor's.
    void stop();

private:
    void run();

    using Clock = std::chrono::steady_clock;
    std::function<void()> pass_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Clock::time_point> due_;
    bool stopping_ = false;
    std::thread thread_;
};

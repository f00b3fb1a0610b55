#include "WakeThread.h"

#include <cmath>

WakeThread::WakeThread(std::function<void()> pass) : pass_(std::move(pass)), thread_([this] { run(); }) {}

WakeThread::~WakeThread()
{
    stop();
}

void WakeThread::stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void WakeThread::arm(double seconds)
{
    {
        std::lock_guard lock(mutex_);
        if (seconds < 0)
            due_.reset();
        else
            due_ = Clock::now() + std::chrono::nanoseconds(std::llround(seconds * 1e9));
    }
    changed_.notify_one();
}

void WakeThread::run()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!due_) {
            changed_.wait(lock);
            continue;
        }
        if (Clock::now() < *due_) {
            changed_.wait_until(lock, *due_);
            continue;
        }
        due_.reset();
        // Unlocked: the pass asks for its next time itself.
        lock.unlock();
        pass_();
        lock.lock();
    }
}

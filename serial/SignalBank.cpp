#include "SignalBank.h"

#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

SignalBank::SignalBank() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

SignalBank::~SignalBank()
{
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

bool SignalBank::manualReset(int index)
{
    return index == readDoneEvent || index == writeDoneEvent || index == statusDoneEvent;
}

void SignalBank::set(int index)
{
    state_[index].store(true);
    if (wakeFd_ < 0)
        return;
    const uint64_t one = 1;
    while (::write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void SignalBank::reset(int index)
{
    state_[index].store(false);
}

bool SignalBank::anySet() const
{
    for (const auto &s : state_)
        if (s.load())
            return true;
    return false;
}

int SignalBank::takeFirst()
{
    for (int i = 0; i < Count; ++i) {
        if (manualReset(i) ? state_[i].load() : state_[i].exchange(false))
            return i;
    }
    return -1;
}

void SignalBank::drainWake()
{
    uint64_t count;
    while (::read(wakeFd_, &count, sizeof count) > 0) {
    }
}

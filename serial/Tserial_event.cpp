#include "Tserial_event.h"

#include "SerialDevice.h"
#include "SignalBank.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <optional>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t EV_RLSD = 0x0020;
constexpr uint32_t EV_RING = 0x0100;
// How often modem lines are sampled while a status wait is in flight; the lines
// have no descriptor to wait on.
constexpr auto kModemSamplePeriod = std::chrono::milliseconds(10);
constexpr auto kReadGap = std::chrono::milliseconds(Tserial_event::kReadGapMs);

} // namespace

struct Tserial_event::NotifierSlot {
    std::mutex mutex;
    Notifier notifier;
    Tserial_event *port = nullptr;
};

/// Everything one open port's worker owns. Shared with the worker thread so that a
/// worker outliving its wait can never reach freed memory.
struct Tserial_event::Worker {
    SignalBank signals;
    std::atomic<int> fd{-1};
    std::atomic<int> requestSize{1};
    std::atomic<int> answerWaitMs{0};
    std::atomic<CompletionRule> completionRule{nullptr};
    std::atomic<bool> running{false};
    std::atomic<bool> abandoned{false};
    std::atomic<bool> lost{false}; ///< ended by the line failing, not by stopEvent
    bool watchModemLines = false;
    bool modemLinesReadable = false;

    char rxBuffer[kMaxReadSize + 1] = {};
    int rxCount = 0;
    char txBuffer[kTxBufferSize] = {};
    int txCount = 0;
    // Blocks handed over while another is on the line wait here, in their order.
    std::mutex txMutex;
    std::deque<std::string> txQueue;
    bool writePending = false; ///< a block is on the line or about to be; guarded by txMutex
    // With an answer wait, the block after a written one waits for the answer or the deadline.
    bool awaitingAnswer = false;
    Clock::time_point answerDeadline;
    uint32_t commEventMask = 0;

    bool readPending = false;
    bool statusPending = false;

    // The operations in flight, advanced by the wait like a driver would.
    bool readInFlight = false;
    bool readFailed = false;
    int readFilled = 0;
    int readTarget = 0;
    CompletionRule readRule = nullptr;
    Clock::time_point lastByte;
    bool writeInFlight = false;
    bool writeFailed = false;
    int writeOffset = 0;
    bool hungUp = false;
    bool statusWaitInFlight = false;
    SerialDevice::ModemLines lines;

    std::mutex endMutex;
    std::condition_variable endCondition;
    bool ended = false;

    void run(NotifierSlot &slot);
    bool waitEnded(std::chrono::milliseconds limit);

private:
    void deliver(NotifierSlot &slot, int code);
    int waitForSignal();
    bool pollIo(bool signalled);
    void readAvailable();
    void writeAvailable();
    void completeRead(bool ok);
    void completeWrite(bool ok);
    /// Takes the next waiting block onto the line; false when none waits.
    bool takeNextBlock();
    void startNextWrite();
    /// The answer to the last block has come, or will not: the next block may go.
    void answerSettled();
    void sampleModemLines();
    void evaluateModemLines(NotifierSlot &slot);
};

void Tserial_event::Worker::deliver(NotifierSlot &slot, int code)
{
    std::lock_guard lock(slot.mutex);
    if (!abandoned && slot.notifier)
        slot.notifier(slot.port, code);
}

void Tserial_event::Worker::run(NotifierSlot &slot)
{
    running = true;
    readPending = false;
    statusPending = false;
    deliver(slot, PortOpened);
    signals.set(SignalBank::startReadEvent);
    if (watchModemLines)
        signals.set(SignalBank::startStatusEvent);

    int signal = -1;
    for (bool serving = true; serving;) {
        signal = waitForSignal();
        switch (signal) {
        case SignalBank::readDoneEvent:
            if (readFailed) {
                serving = false;
                break;
            }
            signals.reset(SignalBank::readDoneEvent);
            rxCount = readFilled;
            readPending = false;
            if (rxCount > 0) {
                deliver(slot, DataArrived);
                answerSettled();
            }
            break;
        case SignalBank::startReadEvent:
            if (readPending)
                break;
            readPending = true;
            if (hungUp) {
                serving = false;
                break;
            }
            readFilled = 0;
            readTarget = requestSize.load();
            readRule = completionRule.load();
            readInFlight = true;
            break;
        case SignalBank::writeDoneEvent:
            if (writeFailed) {
                serving = false;
                break;
            }
            signals.reset(SignalBank::writeDoneEvent);
            deliver(slot, WriteDone);
            if (const int waitMs = answerWaitMs.load(); waitMs > 0) {
                awaitingAnswer = true;
                answerDeadline = Clock::now() + std::chrono::milliseconds(waitMs);
            } else {
                startNextWrite();
            }
            break;
        case SignalBank::startWriteEvent:
            if (hungUp) {
                serving = false;
                break;
            }
            startNextWrite();
            break;
        case SignalBank::statusDoneEvent:
            signals.reset(SignalBank::statusDoneEvent);
            statusPending = false;
            evaluateModemLines(slot);
            signals.set(SignalBank::startStatusEvent);
            break;
        case SignalBank::startStatusEvent:
            if (!statusPending && watchModemLines && modemLinesReadable)
                statusPending = statusWaitInFlight = true;
            break;
        default: // stopEvent or a failed wait
            serving = false;
            break;
        }
    }

    lost = signal != SignalBank::stopEvent;
    running = false;
    if (const int handle = fd.exchange(-1); handle >= 0)
        SerialDevice::closePort(handle);
    deliver(slot, PortClosed);
    std::lock_guard lock(endMutex);
    ended = true;
    endCondition.notify_all();
}

bool Tserial_event::Worker::waitEnded(std::chrono::milliseconds limit)
{
    std::unique_lock lock(endMutex);
    return endCondition.wait_for(lock, limit, [this] { return ended; });
}

int Tserial_event::Worker::waitForSignal()
{
    for (;;) {
        // Completions are collected even when a signal is already waiting, so that
        // a stop and a finished read seen together are served by priority.
        if (!pollIo(signals.anySet()))
            return -1;
        const int index = signals.takeFirst();
        if (index >= 0)
            return index;
    }
}

bool Tserial_event::Worker::pollIo(bool signalled)
{
    const int handle = fd.load();
    pollfd fds[2] = {{signals.wakeFd(), POLLIN, 0}, {handle, 0, 0}};
    if (readInFlight)
        fds[1].events |= POLLIN;
    if (writeInFlight)
        fds[1].events |= POLLOUT;
    const nfds_t count = hungUp ? 1 : 2;

    timespec limit{};
    timespec *timeout = &limit;
    if (!signalled) {
        std::optional<Clock::duration> wait;
        if (readInFlight && readFilled > 0)
            wait = std::max(Clock::duration::zero(), lastByte + kReadGap - Clock::now());
        if (statusWaitInFlight)
            wait = wait ? std::min<Clock::duration>(*wait, kModemSamplePeriod) : kModemSamplePeriod;
        if (awaitingAnswer) {
            const auto left = std::max(Clock::duration::zero(), answerDeadline - Clock::now());
            wait = wait ? std::min(*wait, left) : left;
        }
        if (wait) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(*wait).count();
            limit = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        } else {
            timeout = nullptr;
        }
    }
    if (ppoll(fds, count, timeout, nullptr) < 0)
        return errno == EINTR;
    if (fds[0].revents & POLLIN)
        signals.drainWake();

    if (count == 2) {
        if (fds[1].revents & POLLNVAL)
            return false;
        const bool hangUp = fds[1].revents & (POLLHUP | POLLERR);
        if (readInFlight && (fds[1].revents & POLLIN || hangUp))
            readAvailable();
        if (writeInFlight && fds[1].revents & POLLOUT)
            writeAvailable();
        if (hangUp) {
            // A vanished device keeps reporting the hang-up: stop watching it and
            // fail whatever is in flight or starts next.
            hungUp = true;
            if (readInFlight)
                completeRead(false);
            if (writeInFlight)
                completeWrite(false);
        }
    }
    if (readInFlight && readFilled > 0 && Clock::now() - lastByte >= kReadGap)
        completeRead(true);
    if (statusWaitInFlight)
        sampleModemLines();
    if (awaitingAnswer && Clock::now() >= answerDeadline)
        answerSettled();
    return true;
}

void Tserial_event::Worker::readAvailable()
{
    while (readInFlight) {
        const ssize_t n = ::read(fd.load(), rxBuffer + readFilled, readTarget - readFilled);
        if (n > 0) {
            readFilled += static_cast<int>(n);
            lastByte = Clock::now();
            if (readFilled >= readTarget || (readRule && readRule(rxBuffer, readFilled)))
                completeRead(true);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            return;
        } else {
            // End of file is how a hung-up terminal reads; EIO is how a pseudo-terminal
            // whose far end closed reads.
            hungUp = true;
            completeRead(false);
        }
    }
}

void Tserial_event::Worker::writeAvailable()
{
    while (writeInFlight) {
        const ssize_t n = ::write(fd.load(), txBuffer + writeOffset, txCount - writeOffset);
        if (n >= 0) {
            writeOffset += static_cast<int>(n);
            if (writeOffset >= txCount)
                completeWrite(true);
        } else if (errno == EINTR) {
            continue;
        } else if (errno == EAGAIN) {
            return;
        } else {
            completeWrite(false);
        }
    }
}

void Tserial_event::Worker::completeRead(bool ok)
{
    readInFlight = false;
    readFailed = !ok;
    signals.set(SignalBank::readDoneEvent);
}

void Tserial_event::Worker::completeWrite(bool ok)
{
    writeInFlight = false;
    writeFailed = !ok;
    signals.set(SignalBank::writeDoneEvent);
}

void Tserial_event::Worker::startNextWrite()
{
    if (takeNextBlock()) {
        writeOffset = 0;
        writeInFlight = true;
    }
}

void Tserial_event::Worker::answerSettled()
{
    if (std::exchange(awaitingAnswer, false))
        startNextWrite();
}

bool Tserial_event::Worker::takeNextBlock()
{
    std::lock_guard lock(txMutex);
    if (txQueue.empty()) {
        writePending = false;
        return false;
    }
    const std::string &block = txQueue.front();
    std::memcpy(txBuffer, block.data(), block.size());
    txCount = int(block.size());
    txQueue.pop_front();
    return true;
}

void Tserial_event::Worker::sampleModemLines()
{
    SerialDevice::ModemLines now;
    if (!SerialDevice::readModemLines(fd.load(), now))
        return;
    uint32_t mask = 0;
    if (now.ring && !lines.ring)
        mask |= EV_RING;
    if (now.carrier != lines.carrier)
        mask |= EV_RLSD;
    lines = now;
    if (mask) {
        commEventMask = mask;
        statusWaitInFlight = false;
        signals.set(SignalBank::statusDoneEvent);
    }
}

void Tserial_event::Worker::evaluateModemLines(NotifierSlot &slot)
{
    SerialDevice::ModemLines now;
    SerialDevice::readModemLines(fd.load(), now);
    if (commEventMask & EV_RING && now.ring)
        deliver(slot, RingDetected);
    if (commEventMask & EV_RLSD)
        deliver(slot, now.carrier ? CarrierOn : CarrierOff);
}

Tserial_event::Tserial_event() : slot_(std::make_shared<NotifierSlot>())
{
    slot_->port = this;
}

Tserial_event::~Tserial_event()
{
    shutdownQuietly();
}

int Tserial_event::open(const char *portName, int baudRate, int parityCode, uint8_t dataBits, bool watchModemLines)
{
    if (thread_.joinable()) // callers close first; a worker still starting up must not be left behind
        close();
    lastFailure_ = OpenFailure{};
    lastFailure_.portName = portName ? portName : "";
    if (!portName || !*portName)
        return fail(NoPortName, OpenFailureReason::NameRefused, 0);

    const bool fits = std::strlen(portName) < kPortNameSize;
    std::strncpy(portName_, portName, kPortNameSize - 1);
    portName_[kPortNameSize - 1] = '\0';
    baudRate_ = baudRate;
    parityCode_ = parityCode;

    auto worker = std::make_shared<Worker>();
    if (!worker->signals.valid())
        return fail(SignalsInvalid, OpenFailureReason::Other, errno);
    // A name cut to fit would denote another device: refuse it.
    if (!fits) {
        lastFailure_.devicePath = SerialDevice::devicePath(portName);
        return fail(OpenFailed, OpenFailureReason::NameRefused, ENAMETOOLONG);
    }
    const int handle = SerialDevice::openExclusive(SerialDevice::devicePath(portName_), lastFailure_);
    if (handle < 0)
        return OpenFailed;

    int result = Opened;
    int error = 0;
    worker->watchModemLines = watchModemLines;
    worker->modemLinesReadable = watchModemLines && SerialDevice::readModemLines(handle, worker->lines);
    if (!SerialDevice::applyTimeouts(handle)) {
        result = TimeoutsFailed;
        error = errno;
    }
    if (!SerialDevice::applyLineSettings(handle, baudRate, parityCode, dataBits)) {
        result = LineSettingsFailed;
        error = errno;
    }
    if (result != Opened) {
        SerialDevice::closePort(handle);
        return fail(result, SerialDevice::reasonForSettingsError(error), error);
    }
    SerialDevice::raiseControlLines(handle);

    worker->fd = handle;
    worker->requestSize = rxRequestSize_.load();
    worker->answerWaitMs = answerWaitMs_.load();
    worker->completionRule = completionRule_.load();
    {
        std::lock_guard lock(workerMutex_);
        worker_ = worker;
    }
    thread_ = std::thread([worker, slot = slot_] { worker->run(*slot); });
    return Opened;
}

int Tserial_event::fail(int result, OpenFailureReason reason, int error)
{
    lastFailure_.reason = reason;
    lastFailure_.error = error;
    return result;
}

void Tserial_event::close()
{
    if (worker_) {
        worker_->running = false;
        worker_->signals.set(SignalBank::stopEvent);
    }
    finishWorker();
}

void Tserial_event::shutdownQuietly()
{
    {
        std::lock_guard lock(slot_->mutex);
        slot_->notifier = nullptr;
    }
    close();
}

void Tserial_event::finishWorker()
{
    if (!thread_.joinable())
        return;
    if (worker_->waitEnded(std::chrono::milliseconds(kWorkerWaitMs))) {
        thread_.join();
        return;
    }
    {
        // From here on the stray worker delivers nothing; it frees its own state when it ends.
        std::lock_guard lock(slot_->mutex);
        worker_->abandoned = true;
    }
    thread_.detach();
}

void Tserial_event::send(const char *data, int length)
{
    std::shared_ptr<Worker> current;
    {
        std::lock_guard lock(workerMutex_);
        current = worker_;
    }
    // No worker, no block: a stale command must never reach the next connection.
    if (!data || length < 0 || length >= kTxBufferSize || !current || current->fd.load() < 0)
        return;
    Worker &worker = *current;
    std::lock_guard lock(worker.txMutex);
    if (int(worker.txQueue.size()) >= kTxQueueBlocks)
        return;
    worker.txQueue.emplace_back(data, size_t(length));
    if (!std::exchange(worker.writePending, true))
        worker.signals.set(SignalBank::startWriteEvent);
}

void Tserial_event::setReadSize(int size)
{
    const int clamped = std::clamp(size, 1, kMaxReadSize);
    rxRequestSize_ = clamped;
    if (worker_)
        worker_->requestSize = clamped;
}

void Tserial_event::setAnswerWait(int ms)
{
    answerWaitMs_ = std::max(0, ms);
    if (worker_)
        worker_->answerWaitMs = answerWaitMs_.load();
}

void Tserial_event::setCompletionRule(CompletionRule rule)
{
    completionRule_ = rule;
    if (worker_)
        worker_->completionRule = rule;
}

void Tserial_event::setNotifier(Notifier notifier)
{
    std::lock_guard lock(slot_->mutex);
    slot_->notifier = std::move(notifier);
}

const char *Tserial_event::txData() const
{
    return worker_ ? worker_->txBuffer : nullptr;
}

int Tserial_event::txSize() const
{
    return worker_ ? worker_->txCount : 0;
}

const char *Tserial_event::rxData() const
{
    return worker_ ? worker_->rxBuffer : nullptr;
}

int Tserial_event::rxSize() const
{
    return worker_ ? worker_->rxCount : 0;
}

void Tserial_event::rxDone()
{
    if (worker_)
        worker_->signals.set(SignalBank::startReadEvent);
}

bool Tserial_event::endedByLoss() const
{
    return worker_ && worker_->lost.load();
}

bool Tserial_event::running() const
{
    return worker_ && worker_->running.load();
}

#pragma once

#include "OpenFailure.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

/// The program's serial port: one worker thread per open port does every read,
/// write and modem-status wait, and reports through one notification function.
class Tserial_event {
public:
    enum Notification : int {
        PortOpened = 0,
        PortClosed = 1,
        WriteDone = 2,
        DataArrived = 3,
        RingDetected = 4,
        CarrierOn = 5,
        CarrierOff = 6,
    };

    enum OpenResult : int {
        Opened = 0,
        EventMaskFailed = 1,
        TimeoutsFailed = 2,
        LineSettingsFailed = 4,
        OpenFailed = 8,
        NoPortName = 16,
        SignalsInvalid = 32,
    };

    static constexpr int kPortNameSize = 10;
    static constexpr int kMaxReadSize = 1024;
    static constexpr int kTxBufferSize = 256;
    /// Blocks that may wait behind the one on the line; only a line that has stopped taking
    /// bytes altogether fills them.
    static constexpr int kTxQueueBlocks = 256;
    static constexpr int kReadGapMs = 50;
    static constexpr int kWorkerWaitMs = 2000;

    /// Runs on the worker thread; while it runs the worker serves nothing else.
    using Notifier = std::function<void(Tserial_event *port, int event)>;
    /// Tells from the bytes a read holds so far that they are one whole frame; the read then
    /// completes without waiting out the gap. Runs on the worker thread.
    using CompletionRule = bool (*)(const char *data, int size);

    Tserial_event();
    ~Tserial_event();
    Tserial_event(const Tserial_event &) = delete;
    Tserial_event &operator=(const Tserial_event &) = delete;

    /// 0 when the port is open and its worker started, else a failure code of OpenResult.
    int open(const char *portName, int baudRate, int parityCode, uint8_t dataBits, bool watchModemLines);
    /// Asks the worker to end and waits for it, at most kWorkerWaitMs.
    void close();
    /// Hands a block of at most 255 bytes to the worker. Blocks leave one at a time in the
    /// order given, each reported by WriteDone; without an open port the block is dropped.
    void send(const char *data, int length);
    void setReadSize(int size);
    /// For a line that answers each block: after a block has left, the next waits until data
    /// has arrived or `ms` have passed, so that two answers never run into one read. 0 (the
    /// default) sends each block as soon as the previous has left.
    void setAnswerWait(int ms);
    /// Without a rule (the default) a read completes only at the read size or after the gap.
    /// Takes effect at the next read.
    void setCompletionRule(CompletionRule rule);
    void setNotifier(Notifier notifier);
    /// Ends the worker without delivering anything more; for an owner that is going away.
    void shutdownQuietly();

    /// For the notifier while it handles WriteDone: the block that has just left.
    const char *txData() const;
    int txSize() const;
    /// For the notifier while it handles DataArrived.
    const char *rxData() const;
    int rxSize() const;
    /// Releases the next read.
    void rxDone();

    /// Why the last open failed: reason, errno and device. Reason None after a successful open.
    const OpenFailure &lastFailure() const { return lastFailure_; }

    int readSize() const { return rxRequestSize_.load(); }
    const char *portName() const { return portName_; }
    int baudRate() const { return baudRate_; }
    bool running() const;
    /// For the notifier while it handles PortClosed, and after: the worker ended because the
    /// line failed (a hang-up, a failed read or write, the device gone), not because close()
    /// asked it to.
    bool endedByLoss() const;

private:
    struct Worker;
    struct NotifierSlot;

    void finishWorker();
    int fail(int result, OpenFailureReason reason, int error);

    char portName_[kPortNameSize] = {};
    int baudRate_ = 0;
    int parityCode_ = 0;
    OpenFailure lastFailure_;
    std::atomic<int> rxRequestSize_{1};
    std::atomic<int> answerWaitMs_{0};
    std::atomic<CompletionRule> completionRule_{nullptr};
    std::shared_ptr<NotifierSlot> slot_;
    // Replaced by open on the owner's thread while send may run on another (the pacing, the
    // worker's own notifier): send takes its copy under the lock.
    mutable std::mutex workerMutex_;
    std::shared_ptr<Worker> worker_;
    std::thread thread_;
};

#pragma once

#include "JournalRecord.h"
#include "JournalSink.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

/// Appends the run's records to the journal. append() only queues the record (the caller is
/// the user-interface thread); a thread of its own encodes, writes and syncs the queue at
/// least once every flush period. Destroying the writer without finish() keeps the file for
/// recovery, as a crash would.
class JournalWriter {
public:
    /// Called once, on the writer's thread, when a write or sync fails; journaling stops
    /// there and later appends are dropped. Queue it to the user-interface thread.
    using FailureHandler = std::function<void(const QString &error)>;
    /// Writes the records a new journal begins with, on the writer's thread, before any
    /// appended one; returns an empty text on success, otherwise what went wrong.
    using Seed = std::function<QString(JournalSink &sink)>;
    static constexpr std::chrono::milliseconds DefaultFlushPeriod{500};

    /// newRunStart: the start of a new journal's run, written first as its header; empty when
    /// records go on after those of a recovered journal.
    JournalWriter(std::unique_ptr<JournalSink> sink, std::optional<qint64> newRunStart, FailureHandler onFailure,
                  std::chrono::milliseconds flushPeriod = DefaultFlushPeriod, Seed seed = {});
    ~JournalWriter();
    JournalWriter(const JournalWriter &) = delete;
    JournalWriter &operator=(const JournalWriter &) = delete;

    void append(const JournalRecord &record);
    /// The run ended cleanly (exit, or both chart and register cleared): the file is removed.
    void finish();
    /// Writes what is queued and stops, leaving the file as an unclean end would.
    void abandon();
    bool failed() const { return m_failed.load(); }

private:
    void run();
    void writeBatch(const std::vector<JournalRecord> &batch);
    void fail(const QString &error);
    void stop();

    std::unique_ptr<JournalSink> m_sink;
    FailureHandler m_onFailure;
    const std::chrono::milliseconds m_period;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<JournalRecord> m_queue;
    bool m_stopping = false;
    std::atomic<bool> m_failed{false};
    std::vector<unsigned char> m_buffer;
    std::optional<qint64> m_newRunStart;
    Seed m_seed;
    std::thread m_thread;
};

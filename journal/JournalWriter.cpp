#include "JournalWriter.h"

JournalWriter::JournalWriter(std::unique_ptr<JournalSink> sink, std::optional<qint64> newRunStart,
                             FailureHandler onFailure, std::chrono::milliseconds flushPeriod, Seed seed)
    : m_sink(std::move(sink)), m_onFailure(std::move(onFailure)), m_period(flushPeriod), m_newRunStart(newRunStart),
      m_seed(std::move(seed)), m_thread(&JournalWriter::run, this)
{
}

JournalWriter::~JournalWriter()
{
    stop();
}

void JournalWriter::append(const JournalRecord &record)
{
    if (m_failed.load(std::memory_order_relaxed))
        return;
    std::lock_guard lock(m_mutex);
    if (!m_stopping)
        m_queue.push_back(record);
}

void JournalWriter::finish()
{
    stop();
    if (m_sink)
        m_sink->discard();
    m_sink.reset();
}

void JournalWriter::abandon()
{
    stop();
}

void JournalWriter::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void JournalWriter::run()
{
    if (m_newRunStart) {
        const auto header = JournalFormat::encodeHeader(*m_newRunStart);
        QString error = m_sink->write(header.data(), header.size());
        if (error.isEmpty() && m_seed)
            error = m_seed(*m_sink);
        if (error.isEmpty())
            error = m_sink->sync();
        if (!error.isEmpty())
            fail(error);
    }

    std::vector<JournalRecord> batch;
    bool last = false;
    while (!last) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait_for(lock, m_period, [this] { return m_stopping; });
            last = m_stopping;
            batch.swap(m_queue);
        }
        if (!m_failed.load())
            writeBatch(batch);
        batch.clear();
    }
}

void JournalWriter::writeBatch(const std::vector<JournalRecord> &batch)
{
    if (batch.empty())
        return;
    m_buffer.resize(batch.size() * JournalFormat::RecordSize);
    unsigned char *at = m_buffer.data();
    for (const JournalRecord &record : batch) {
        const auto bytes = JournalFormat::encode(record);
        std::copy(bytes.begin(), bytes.end(), at);
        at += bytes.size();
    }
    QString error = m_sink->write(m_buffer.data(), m_buffer.size());
    if (error.isEmpty())
        error = m_sink->sync();
    if (!error.isEmpty())
        fail(error);
}

void JournalWriter::fail(const QString &error)
{
    m_failed.store(true);
    {
        // Nothing more will be written: release what the user-interface thread queued.
        std::lock_guard lock(m_mutex);
        m_queue.clear();
        m_queue.shrink_to_fit();
    }
    if (m_onFailure)
        m_onFailure(error);
}

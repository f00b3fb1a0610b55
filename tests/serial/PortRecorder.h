#pragma once

#include "Tserial_event.h"

#include <QByteArray>
#include <QList>
#include <condition_variable>
#include <functional>
#include <mutex>

/// Records a port's notifications, with a copy of each burst, as the worker delivers them.
class PortRecorder {
public:
    struct Event {
        int code;
        QByteArray data;
    };

    explicit PortRecorder(Tserial_event &port, bool releaseReads = true);
    /// Detaches from the port: a worker still running delivers nothing here any more.
    ~PortRecorder();
    PortRecorder(const PortRecorder &) = delete;
    PortRecorder &operator=(const PortRecorder &) = delete;

    /// Extra work run on the worker thread inside the notifier, before the burst is released.
    std::function<void(int code)> hook;

    /// Waits until `count` notifications with this code have arrived.
    bool waitFor(int code, int count, int timeoutMs);
    int count(int code);
    QList<QByteArray> bursts();
    /// The blocks that WriteDone reported as gone, in order.
    QList<QByteArray> written();
    QList<int> codes();

private:
    QList<QByteArray> blocks(int code);

    Tserial_event &port_;
    std::mutex mutex_;
    std::condition_variable changed_;
    QList<Event> events_;
};

#include "PortRecorder.h"

#include <chrono>

PortRecorder::PortRecorder(Tserial_event &port, bool releaseReads) : port_(port)
{
    port.setNotifier([this, releaseReads](Tserial_event *p, int code) {
        {
            std::lock_guard lock(mutex_);
            QByteArray data;
            if (code == Tserial_event::DataArrived)
                data = QByteArray(p->rxData(), p->rxSize());
            else if (code == Tserial_event::WriteDone)
                data = QByteArray(p->txData(), p->txSize());
            events_.append({code, data});
        }
        changed_.notify_all();
        if (hook)
            hook(code);
        if (code == Tserial_event::DataArrived && releaseReads)
            p->rxDone();
    });
}

PortRecorder::~PortRecorder()
{
    port_.setNotifier(nullptr);
}

bool PortRecorder::waitFor(int code, int count, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        int n = 0;
        for (const auto &e : events_)
            n += e.code == code;
        return n >= count;
    });
}

int PortRecorder::count(int code)
{
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const auto &e : events_)
        n += e.code == code;
    return n;
}

QList<QByteArray> PortRecorder::bursts()
{
    return blocks(Tserial_event::DataArrived);
}

QList<QByteArray> PortRecorder::written()
{
    return blocks(Tserial_event::WriteDone);
}

QList<QByteArray> PortRecorder::blocks(int code)
{
    std::lock_guard lock(mutex_);
    QList<QByteArray> out;
    for (const auto &e : events_)
        if (e.code == code)
            out.append(e.data);
    return out;
}

QList<int> PortRecorder::codes()
{
    std::lock_guard lock(mutex_);
    QList<int> out;
    for (const auto &e : events_)
        out.append(e.code);
    return out;
}

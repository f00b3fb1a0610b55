// Delay from the far end's last byte to the burst's arrival on the user-interface thread.
#include "PtyPair.h"
#include "Tserial_event.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using Clock = std::chrono::steady_clock;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int bursts = argc > 1 ? std::atoi(argv[1]) : 1000;

    PtyPair pty;
    if (!pty.ok())
        return 1;

    QObject receiver;
    Tserial_event port;
    Clock::time_point sentAt;
    std::vector<double> delaysMs;
    auto sendNext = [&] {
        sentAt = Clock::now();
        pty.write(QByteArray::fromHex("F3F30C0500000011"));
    };
    port.setNotifier([&](Tserial_event *p, int event) {
        if (event != Tserial_event::DataArrived)
            return;
        QMetaObject::invokeMethod(
            &receiver,
            [&] {
                delaysMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sentAt).count());
                if (int(delaysMs.size()) == bursts)
                    QCoreApplication::quit();
                else
                    QTimer::singleShot(5, &receiver, sendNext);
            },
            Qt::QueuedConnection);
        p->rxDone();
    });
    port.setReadSize(64);
    if (port.open(pty.portName().constData(), 57600, 0, 8, false) != 0)
        return 1;
    QTimer::singleShot(50, &receiver, sendNext);
    QCoreApplication::exec();
    port.close();

    std::sort(delaysMs.begin(), delaysMs.end());
    if (delaysMs.empty())
        return 1;
    std::printf("bursts: %zu\n", delaysMs.size());
    std::printf("last byte -> user-interface thread: median %.3f ms, 99%% %.3f ms, worst %.3f ms, best %.3f ms\n",
                delaysMs[delaysMs.size() / 2], delaysMs[delaysMs.size() * 99 / 100], delaysMs.back(), delaysMs.front());
    std::printf("beyond the %d ms gap: median %.3f ms, worst %.3f ms\n", Tserial_event::kReadGapMs,
                delaysMs[delaysMs.size() / 2] - Tserial_event::kReadGapMs, delaysMs.back() - Tserial_event::kReadGapMs);
    return 0;
}

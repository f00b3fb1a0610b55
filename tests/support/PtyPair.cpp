#include "PtyPair.h"

#include <QElapsedTimer>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[64] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    // The port opens the slave by name; keeping our descriptor would hide its hang-ups.
    ::close(slave_);
    slave_ = -1;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    portName_ = QByteArray(name).mid(5); // strip "/dev/"
}

PtyPair::~PtyPair()
{
    closeMaster();
}

void PtyPair::write(const QByteArray &bytes) const
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
        if (n > 0)
            done += n;
        else
            usleep(1000);
    }
}

QByteArray PtyPair::read(int waitMs, int expected) const
{
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitMs && (expected < 0 || out.size() < expected)) {
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, 5) > 0 && (fd.revents & POLLIN)) {
            char buffer[512];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                out.append(buffer, n);
        }
    }
    return out;
}

void PtyPair::closeMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

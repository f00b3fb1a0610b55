#include "PtyInstrument.h"

#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

// One byte on a 57600 bit/s line: start bit, 8 data bits, stop bit.
constexpr nanoseconds kByteTime{10 * 1'000'000'000LL / 57600};

[[noreturn]] void fail(const char *what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

PtyInstrument::PtyInstrument()
{
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0)
        fail("openpty");
    std::array<char, PATH_MAX> path{};
    termios tio{};
    if (::ttyname_r(slave_, path.data(), path.size()) != 0 || ::tcgetattr(slave_, &tio) != 0)
        fail("pseudo-terminal");
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B57600);
    ::cfsetospeed(&tio, B57600);
    if (::tcsetattr(slave_, TCSANOW, &tio) != 0)
        fail("tcsetattr");
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    // A reply that does not fit because nobody reads the port is lost, as on a real line.
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0)
        fail("eventfd");

    const std::string_view name = path.data();
    constexpr std::string_view dev = "/dev/";
    portName_ = std::string(name.starts_with(dev) ? name.substr(dev.size()) : name);
    lastAdvance_ = steady_clock::now();
    serving_ = true;
    thread_ = std::thread(&PtyInstrument::run, this);
}

PtyInstrument::~PtyInstrument()
{
    stop();
    closeLine();
    closeFd(wake_);
}

void PtyInstrument::setFaults(const SimFaults &faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
    repliesSinceFaults_ = 0;
}

void PtyInstrument::setIdentity(std::string_view letters)
{
    withModel([&](SimInstrument &model) { model.setIdentity(letters); });
}

void PtyInstrument::setSensorPresent(int sensor, bool present)
{
    withModel([&](SimInstrument &model) { model.setSensorPresent(sensor, present); });
}

void PtyInstrument::disconnect()
{
    std::unique_lock lock(mutex_);
    if (!serving_) {
        closeLine();
        return;
    }
    disconnectWanted_ = true;
    wake();
    lineClosed_.wait(lock, [this] { return master_ < 0 || !serving_; });
}

void PtyInstrument::stop()
{
    if (!thread_.joinable())
        return;
    stopWanted_ = true;
    wake();
    thread_.join();
}

void PtyInstrument::wake()
{
    const uint64_t one = 1;
    (void)!::write(wake_, &one, sizeof one);
}

void PtyInstrument::closeLine()
{
    closeFd(master_);
    closeFd(slave_);
}

void PtyInstrument::run()
{
    while (!stopWanted_) {
        // Only this thread changes master_, so it may read it without the lock.
        std::array<pollfd, 2> fds{{{wake_, POLLIN, 0}, {master_, POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t count;
            (void)!::read(wake_, &count, sizeof count);
            std::lock_guard lock(mutex_);
            if (disconnectWanted_) {
                disconnectWanted_ = false;
                closeLine();
                lineClosed_.notify_all();
            }
            continue;
        }
        if (fds[1].revents == 0)
            continue;
        std::array<uint8_t, 256> buffer;
        const ssize_t n = ::read(master_, buffer.data(), buffer.size());
        if (n > 0) {
            for (const auto &request : assembler_.feed(buffer.data(), size_t(n)))
                serve(request);
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            std::lock_guard lock(mutex_);
            closeLine();
        }
    }
    std::lock_guard lock(mutex_);
    serving_ = false;
    lineClosed_.notify_all();
}

void PtyInstrument::serve(const kx::ProtocolFrame &request)
{
    std::vector<uint8_t> reply;
    SimFaults faults;
    bool dropped = false;
    {
        std::lock_guard lock(mutex_);
        const auto now = steady_clock::now();
        model_.advance(duration<double>(now - lastAdvance_).count());
        lastAdvance_ = now;
        reply = model_.handleRequest(request.data());
        if (logging_)
            log_.push_back({request[2], now});
        faults = faults_;
        if (!reply.empty() && faults.dropEvery > 0)
            dropped = ++repliesSinceFaults_ % faults.dropEvery == 0;
    }
    ++served_;
    if (reply.empty() || faults.silent || dropped)
        return;
    if (faults.corruptChecksums && reply.size() == kx::kFrameSize)
        reply.back() = static_cast<uint8_t>(~reply.back());
    send(reply, faults.lineTiming);
}

void PtyInstrument::startRequestLog()
{
    std::lock_guard lock(mutex_);
    logging_ = true;
    log_.clear();
}

std::vector<PtyInstrument::LoggedRequest> PtyInstrument::requestLog()
{
    std::lock_guard lock(mutex_);
    return log_;
}

void PtyInstrument::send(const std::vector<uint8_t> &reply, bool paced)
{
    if (!paced) {
        (void)!::write(master_, reply.data(), reply.size());
        return;
    }
    // The request reached us at once through the terminal; on the line its last byte would
    // arrive eight byte times later, and every reply byte takes one more.
    auto deadline = steady_clock::now() + kx::kFrameSize * kByteTime;
    for (const uint8_t byte : reply) {
        deadline += kByteTime;
        if (!waitUntil(deadline) || ::write(master_, &byte, 1) != 1)
            return;
    }
}

bool PtyInstrument::waitUntil(steady_clock::time_point deadline)
{
    pollfd fd{wake_, POLLIN, 0};
    for (;;) {
        const auto left = deadline - steady_clock::now();
        if (left <= nanoseconds::zero())
            return true;
        const auto ns = duration_cast<nanoseconds>(left).count();
        const timespec timeout{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        const int ready = ::ppoll(&fd, 1, &timeout, nullptr);
        if (ready > 0)
            return false; // left unread: the loop in run() handles the wake-up
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

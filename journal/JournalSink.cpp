#include "JournalSink.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Plain POSIX calls: the writer needs fdatasync and sees ENOSPC at the write that hit it.
class JournalFile final : public JournalSink {
public:
    JournalFile(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    ~JournalFile() override { close(); }

    QString write(const unsigned char *data, std::size_t size) override
    {
        while (size > 0) {
            const ssize_t n = ::write(m_fd, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return systemError();
            data += n;
            size -= std::size_t(n);
        }
        return {};
    }
    QString sync() override { return ::fdatasync(m_fd) == 0 ? QString() : systemError(); }
    void discard() override
    {
        close();
        QFile::remove(m_path);
    }

private:
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    int m_fd;
    QString m_path;
};

} // namespace

std::unique_ptr<JournalSink> openJournalFile(const QString &path, JournalOpen mode, QString *error)
{
    const int keep = mode == JournalOpen::New ? O_TRUNC : O_APPEND;
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC | keep, 0644);
    if (fd < 0) {
        *error = systemError();
        return nullptr;
    }
    return std::make_unique<JournalFile>(fd, path);
}

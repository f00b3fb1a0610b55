#pragma once

#include <QByteArray>
#include <QString>

/// A pseudo-terminal pair for tests: the port opens the slave by name, the test plays
/// the far end on the master.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool ok() const { return master_ >= 0; }
    /// The name the port takes, e.g. "pts/4".
    QByteArray portName() const { return portName_; }
    int master() const { return master_; }

    void write(const QByteArray &bytes) const;
    /// Whatever arrives at the master within the time limit, stopping early at `expected` bytes.
    QByteArray read(int waitMs, int expected = -1) const;
    /// Closes the master: the slave side sees its far end vanish.
    void closeMaster();

private:
    int master_ = -1;
    int slave_ = -1;
    QByteArray portName_;
};

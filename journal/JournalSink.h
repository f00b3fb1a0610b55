#pragma once

#include <QString>

#include <cstddef>
#include <memory>

/// Where the journal's bytes go. The writer's thread is the only caller. Each call returns an
/// empty text on success, otherwise what went wrong.
class JournalSink {
public:
    virtual ~JournalSink() = default;
    virtual QString write(const unsigned char *data, std::size_t size) = 0;
    /// Makes what was written survive a power cut.
    virtual QString sync() = 0;
    /// The run ended cleanly: the journal is no longer needed.
    virtual void discard() = 0;
};

enum class JournalOpen {
    New,      ///< a new journal: whatever the file held is replaced
    Continue, ///< a recovered journal: records go after what it holds
};

/// Opens the journal file at path; empty with *error set when it cannot.
std::unique_ptr<JournalSink> openJournalFile(const QString &path, JournalOpen mode, QString *error);

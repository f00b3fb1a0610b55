#pragma once

#include "RegisterRow.h"

#include <memory>
#include <vector>

/// The registered rows in fixed-size blocks: appending never moves earlier rows, so it costs
/// constant time and the memory stays close to the rows' own size. A copy shares the blocks and
/// costs next to nothing: rows are only ever added after the copy's last one, so the copy is a
/// snapshot that another thread may read while the rows go on growing or are cleared.
class RegisterStore {
public:
    qint64 size() const { return size_; }
    const RegisterRow &at(qint64 i) const { return chunks_[size_t(i >> kChunkBits)][size_t(i & kChunkMask)]; }

    void append(const RegisterRow &row);
    void clear();

    /// Whether any row holds a reading (not dashes) of channel k.
    bool channelHasReading(int k) const { return readingChannels_ & (1u << k); }

private:
    static constexpr int kChunkBits = 16;
    static constexpr qint64 kChunkMask = (qint64(1) << kChunkBits) - 1;

    std::vector<std::shared_ptr<RegisterRow[]>> chunks_;
    qint64 size_ = 0;
    unsigned readingChannels_ = 0;
};

#include "RegisterStore.h"

#include <algorithm>

namespace {

std::shared_ptr<RegisterRow[]> newChunk(size_t rows)
{
    return std::make_shared_for_overwrite<RegisterRow[]>(rows);
}

} // namespace

void RegisterStore::append(const RegisterRow &row)
{
    const auto chunk = size_t(size_ >> kChunkBits);
    const auto offset = size_t(size_ & kChunkMask);
    if (chunk == chunks_.size()) {
        chunks_.push_back(newChunk(size_t(kChunkMask) + 1));
    } else if (chunks_[chunk].use_count() > 1) {
        // A snapshot still reads this block: it keeps its own.
        auto own = newChunk(size_t(kChunkMask) + 1);
        std::copy_n(chunks_[chunk].get(), offset, own.get());
        chunks_[chunk] = std::move(own);
    }
    chunks_[chunk][offset] = row;
    ++size_;
    for (int k = 0; k < 3; ++k)
        if (row.channelReading(k))
            readingChannels_ |= 1u << k;
}

void RegisterStore::clear()
{
    chunks_.clear();
    chunks_.shrink_to_fit();
    size_ = 0;
    readingChannels_ = 0;
}

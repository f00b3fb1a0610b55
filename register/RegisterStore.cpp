#include "RegisterStore.h"

void RegisterStore::append(const RegisterRow &row)
{
    const auto chunk = size_t(size_ >> kChunkBits);
    const auto offset = size_t(size_ & kChunkMask);
    if (chunk == chunks_.size())
        chunks_.push_back(std::make_shared_for_overwrite<RegisterRow[]>(size_t(kChunkMask) + 1));
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

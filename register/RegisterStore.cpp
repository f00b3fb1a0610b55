#include "RegisterStore.h"

void RegisterStore::append(const RegisterRow &row)
{
    if ((size_ & kChunkMask) == 0 && size_t(size_ >> kChunkBits) == chunks_.size())
        chunks_.push_back(std::make_unique_for_overwrite<RegisterRow[]>(size_t(kChunkMask) + 1));
    chunks_[size_t(size_ >> kChunkBits)][size_t(size_ & kChunkMask)] = row;
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

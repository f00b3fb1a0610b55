#include "PointChunk.h"

#include <iterator>

void PointChunk::append(double x, float slot)
{
    xs_.push_back(x);
    slots_.push_back(slot);
}

void PointChunk::insert(std::size_t at, double x, float slot)
{
    const auto offset = static_cast<std::ptrdiff_t>(at);
    xs_.insert(std::next(xs_.begin(), offset), x);
    slots_.insert(std::next(slots_.begin(), offset), slot);
    pyramid_.invalidateFrom(at);
}

PointChunk PointChunk::splitOff(std::size_t at)
{
    const auto offset = static_cast<std::ptrdiff_t>(at);
    PointChunk tail;
    tail.xs_.assign(std::next(xs_.begin(), offset), xs_.end());
    tail.slots_.assign(std::next(slots_.begin(), offset), slots_.end());
    // The head keeps its capacity: it is about to take the point that caused the split.
    xs_.resize(at);
    slots_.resize(at);
    pyramid_.invalidateFrom(at);
    return tail;
}

std::size_t PointChunk::bytesUsed() const
{
    return xs_.capacity() * sizeof(double) + slots_.capacity() * sizeof(float) + pyramid_.bytesUsed();
}

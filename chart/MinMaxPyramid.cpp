#include "MinMaxPyramid.h"

#include <algorithm>

namespace {
constexpr std::size_t FanOut = 64;

std::size_t levelSpan(std::size_t level)
{
    std::size_t span = FanOut;
    for (std::size_t i = 0; i < level; ++i)
        span *= FanOut;
    return span;
}
} // namespace

void MinMaxPyramid::invalidateFrom(std::size_t first)
{
    validCount_ = std::min(validCount_, first);
}

std::size_t MinMaxPyramid::bytesUsed() const
{
    std::size_t bytes = levels_.capacity() * sizeof(levels_[0]);
    for (const auto &level : levels_)
        bytes += level.capacity() * sizeof(Block);
    return bytes;
}

void MinMaxPyramid::refresh(std::span<const float> slots, const CompactValues &codec) const
{
    const std::size_t count = slots.size();
    if (validCount_ == count)
        return;
    const auto value = [&](std::size_t i) { return codec.decode(slots[i]); };
    // Only complete blocks are kept: a query uses a block only when the whole block lies in its range.
    for (std::size_t level = 0; levelSpan(level) <= count; ++level) {
        if (levels_.size() <= level)
            levels_.emplace_back();
        auto &blocks = levels_[level];
        const std::size_t span = levelSpan(level);
        blocks.resize(std::min(blocks.size(), validCount_ / span));
        for (std::size_t b = blocks.size(); b < count / span; ++b) {
            const std::size_t first = b * span;
            MinMaxScan extremes(first, value(first));
            if (level == 0) {
                for (std::size_t i = first + 1; i < first + span; ++i) {
                    const double v = value(i);
                    extremes.take(i, v, i, v);
                }
            } else {
                const auto &below = levels_[level - 1];
                for (std::size_t i = b * FanOut; i < (b + 1) * FanOut; ++i)
                    extremes.take(below[i].minAt, codec.decode(below[i].min), below[i].maxAt,
                                  codec.decode(below[i].max));
            }
            const MinMaxAt &found = extremes.found();
            blocks.push_back(
                {slots[found.minAt], slots[found.maxAt], std::uint16_t(found.minAt), std::uint16_t(found.maxAt)});
        }
    }
    for (std::size_t level = 0; level < levels_.size(); ++level)
        levels_[level].resize(std::min(levels_[level].size(), count / levelSpan(level)));
    validCount_ = count;
}

MinMaxAt MinMaxPyramid::find(std::span<const float> slots, const CompactValues &codec, std::size_t from,
                             std::size_t to) const
{
    refresh(slots, codec);
    const auto value = [&](std::size_t i) { return codec.decode(slots[i]); };
    MinMaxScan extremes(from, value(from));
    std::size_t i = from;
    while (i < to) {
        // The largest block that starts here and ends inside the range.
        std::size_t level = 0;
        while (level < levels_.size() && i % levelSpan(level) == 0 && i + levelSpan(level) <= to)
            ++level;
        if (level == 0) {
            const double v = value(i);
            extremes.take(i, v, i, v);
            ++i;
            continue;
        }
        const Block &block = levels_[level - 1][i / levelSpan(level - 1)];
        extremes.take(block.minAt, codec.decode(block.min), block.maxAt, codec.decode(block.max));
        i += levelSpan(level - 1);
    }
    return extremes.found();
}

#include "MinMaxPyramid.h"

#include <algorithm>

namespace {
constexpr std::size_t FanOut = 64;
constexpr int MaxLevels = 5;

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

void MinMaxPyramid::clear()
{
    levels_ = {};
    validCount_ = 0;
}

std::size_t MinMaxPyramid::bytesUsed() const
{
    std::size_t bytes = 0;
    for (const auto &level : levels_)
        bytes += level.capacity() * sizeof(Block);
    return bytes;
}

void MinMaxPyramid::refresh(const CompactValues &values) const
{
    const std::size_t count = values.size();
    if (validCount_ == count)
        return;
    // Only complete blocks are kept: a query uses a block only when the whole block lies in its range.
    for (std::size_t level = 0; level < MaxLevels && levelSpan(level) <= count; ++level) {
        if (levels_.size() <= level)
            levels_.emplace_back();
        auto &blocks = levels_[level];
        const std::size_t span = levelSpan(level);
        blocks.resize(std::min(blocks.size(), validCount_ / span));
        for (std::size_t b = blocks.size(); b < count / span; ++b) {
            Block block{values.at(b * span), values.at(b * span), std::uint32_t(b * span), std::uint32_t(b * span)};
            if (level == 0) {
                for (std::size_t i = b * span + 1; i < (b + 1) * span; ++i) {
                    const double v = values.at(i);
                    if (v < block.min)
                        block = {v, block.max, std::uint32_t(i), block.maxAt};
                    if (v > block.max)
                        block = {block.min, v, block.minAt, std::uint32_t(i)};
                }
            } else {
                const auto &below = levels_[level - 1];
                block = below[b * FanOut];
                for (std::size_t i = b * FanOut + 1; i < (b + 1) * FanOut; ++i) {
                    if (below[i].min < block.min) {
                        block.min = below[i].min;
                        block.minAt = below[i].minAt;
                    }
                    if (below[i].max > block.max) {
                        block.max = below[i].max;
                        block.maxAt = below[i].maxAt;
                    }
                }
            }
            blocks.push_back(block);
        }
    }
    for (std::size_t level = 0; level < levels_.size(); ++level)
        levels_[level].resize(std::min(levels_[level].size(), count / levelSpan(level)));
    validCount_ = count;
}

MinMaxAt MinMaxPyramid::find(const CompactValues &values, std::size_t from, std::size_t to) const
{
    refresh(values);
    MinMaxAt found{from, from};
    double min = values.at(from);
    double max = min;
    std::size_t i = from;
    while (i < to) {
        // The largest block that starts here and ends inside the range.
        std::size_t level = 0;
        while (level < levels_.size() && i % levelSpan(level) == 0 && i + levelSpan(level) <= to)
            ++level;
        if (level == 0) {
            const double v = values.at(i);
            if (v < min) {
                min = v;
                found.minAt = i;
            }
            if (v > max) {
                max = v;
                found.maxAt = i;
            }
            ++i;
            continue;
        }
        const Block &block = levels_[level - 1][i / levelSpan(level - 1)];
        if (block.min < min) {
            min = block.min;
            found.minAt = block.minAt;
        }
        if (block.max > max) {
            max = block.max;
            found.maxAt = block.maxAt;
        }
        i += levelSpan(level - 1);
    }
    return found;
}

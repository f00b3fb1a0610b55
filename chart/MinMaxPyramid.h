#pragma once

#include "CompactValues.h"

#include <cstddef>
#include <cstdint>
#include <vector>

/// Positions of the smallest and the largest value of a range (the first of equals).
struct MinMaxAt {
    std::size_t minAt = 0;
    std::size_t maxAt = 0;
};

/// Block summaries of a value column, 64 values per block on the first level and
/// 64 blocks per block above, so that the smallest and largest value of any range
/// are found by looking at a few hundred entries however long the range is.
/// Summaries are brought up to date when asked: appending costs nothing until then
/// and only the new tail is summarised; an insertion redoes the blocks after it.
class MinMaxPyramid {
public:
    /// Values from position `first` on have changed or moved.
    void invalidateFrom(std::size_t first);
    void clear();

    /// The range [from, to) must be non-empty and lie inside `values`.
    MinMaxAt find(const CompactValues &values, std::size_t from, std::size_t to) const;

    std::size_t bytesUsed() const;

private:
    struct Block {
        double min;
        double max;
        std::uint32_t minAt;
        std::uint32_t maxAt;
    };

    void refresh(const CompactValues &values) const;

    // Summaries are a cache of the column; refreshing them does not change what the series holds.
    mutable std::vector<std::vector<Block>> levels_;
    mutable std::size_t validCount_ = 0;
};

#pragma once

#include "CompactValues.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

/// Positions of the smallest and the largest value of a range (the first of equals).
struct MinMaxAt {
    std::size_t minAt = 0;
    std::size_t maxAt = 0;
};

/// Running extremes of a scan from left to right; strict comparisons keep the first of equals.
class MinMaxScan {
public:
    MinMaxScan(std::size_t at, double value) : found_{at, at}, min_(value), max_(value) {}

    void take(std::size_t minAt, double min, std::size_t maxAt, double max)
    {
        if (min < min_) {
            min_ = min;
            found_.minAt = minAt;
        }
        if (max > max_) {
            max_ = max;
            found_.maxAt = maxAt;
        }
    }
    const MinMaxAt &found() const { return found_; }

private:
    MinMaxAt found_;
    double min_;
    double max_;
};

/// Block summaries of a column of at most MaxValues slots, 64 values per block on
/// the first level and 64 blocks per block above, so that the smallest and largest
/// value of any range are found by looking at a few hundred entries. A block keeps
/// its extremes as slots with their positions (twelve bytes per 64 values), so a
/// query reads blocks alone and not the column behind them. Summaries are brought up to date when asked: appending
/// costs nothing until then and only the new tail is summarised; a change redoes
/// the blocks after it.
class MinMaxPyramid {
public:
    static constexpr std::size_t MaxValues = std::size_t(1) << 16;

    /// Values from position `first` on have changed or moved.
    void invalidateFrom(std::size_t first);

    /// Brings the summaries up to date now rather than at the next query.
    void summarise(std::span<const float> values, const CompactValues &codec) const { refresh(values, codec); }

    /// The range [from, to) must be non-empty and lie inside `slots`.
    MinMaxAt find(std::span<const float> slots, const CompactValues &codec, std::size_t from, std::size_t to) const;

    std::size_t bytesUsed() const;

private:
    struct Block {
        float min;
        float max;
        std::uint16_t minAt;
        std::uint16_t maxAt;
    };

    void refresh(std::span<const float> slots, const CompactValues &codec) const;

    // Summaries are a cache of the column; refreshing them does not change what the series holds.
    mutable std::vector<std::vector<Block>> levels_;
    mutable std::size_t validCount_ = 0;
};

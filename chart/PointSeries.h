#pragma once

#include "CompactValues.h"
#include "MinMaxPyramid.h"
#include "PointChunk.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

/// The points of one chart line in ascending x, twelve bytes a point (x as double,
/// y in a four-byte CompactValues slot) plus a small min/max summary for drawing.
/// Points are kept in chunks of at most a fixed number, so that a point put among
/// old ones (a run restarted without clearing the chart) moves one chunk only.
/// A copy shares the chunks and costs next to nothing; a chunk shared with a copy is
/// copied before it changes, so a copy is a snapshot another thread may read.
class PointSeries {
public:
    static constexpr std::size_t DefaultChunkCapacity = 16384;

    /// `chunkCapacity` is clamped to 2..MinMaxPyramid::MaxValues.
    explicit PointSeries(std::size_t chunkCapacity = DefaultChunkCapacity);

    std::size_t size() const { return size_; }
    /// Changes whenever points already held move or go: a clear, a point put among old ones,
    /// another series assigned. Appending at the end leaves it, so a view drawn from the
    /// series can tell that only its end grew.
    std::uint64_t generation() const { return generation_; }
    bool empty() const { return size_ == 0; }
    double x(std::size_t i) const
    {
        const Place at = place(i);
        return chunks_[at.chunk]->x(at.offset);
    }
    double y(std::size_t i) const
    {
        const Place at = place(i);
        return codec_.decode(chunks_[at.chunk]->slot(at.offset));
    }

    /// Adds a point after the last point whose x does not exceed `x`, so equal x
    /// keep their order of arrival. Constant time when `x` is not below the last x;
    /// otherwise it moves at most one chunk's points.
    void add(double x, double y);
    void clear();

    /// Position of the first point whose x is not below `x` (size() if none).
    std::size_t lowerBound(double x) const;
    /// Position of the first point whose x is above `x` (size() if none).
    std::size_t upperBound(double x) const;

    /// Smallest and largest y among the non-empty position range [from, to).
    MinMaxAt minMax(std::size_t from, std::size_t to) const;

    std::size_t bytesUsed() const;

private:
    struct Place {
        std::size_t chunk;
        std::size_t offset;
    };

    Place place(std::size_t i) const
    {
        // Chunks filled by appending alone are all full, so the quotient is usually right.
        std::size_t chunk = std::min(i / chunkCapacity_, starts_.size() - 1);
        if (starts_[chunk] > i || (chunk + 1 < starts_.size() && starts_[chunk + 1] <= i))
            chunk = std::size_t(std::upper_bound(starts_.begin(), starts_.end(), i) - starts_.begin()) - 1;
        return {chunk, i - starts_[chunk]};
    }

    std::size_t chunkCapacity_;
    std::size_t size_ = 0;
    /// The chunk at `i`, its own copy first when a snapshot shares it.
    PointChunk &writable(std::size_t i);

    std::vector<std::shared_ptr<PointChunk>> chunks_; // never an empty one
    std::vector<std::size_t> starts_;                 // position of each chunk's first point
    CompactValues codec_;
    std::uint64_t generation_;
};

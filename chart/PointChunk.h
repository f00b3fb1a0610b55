#pragma once

#include "CompactValues.h"
#include "MinMaxPyramid.h"

#include <cstddef>
#include <vector>

/// A run of consecutive points of a series, x ascending, with its own min/max
/// summary, so that a point put among old ones moves only the points of its chunk.
/// The y slots are encoded by the series' CompactValues.
class PointChunk {
public:
    std::size_t size() const { return xs_.size(); }
    double x(std::size_t i) const { return xs_[i]; }
    float slot(std::size_t i) const { return slots_[i]; }
    const std::vector<double> &xs() const { return xs_; }

    void append(double x, float slot);
    void insert(std::size_t at, double x, float slot);
    /// Moves the points from position `at` on into a new chunk.
    PointChunk splitOff(std::size_t at);

    /// Smallest and largest y among the non-empty position range [from, to) of this chunk.
    MinMaxAt minMax(const CompactValues &codec, std::size_t from, std::size_t to) const
    {
        return pyramid_.find(slots_, codec, from, to);
    }

    /// Summarises the points appended so far, so that the next query reads summaries only.
    void summarise(const CompactValues &codec) const { pyramid_.summarise(slots_, codec); }

    /// Memory held beyond the object itself.
    std::size_t bytesUsed() const;

private:
    std::vector<double> xs_;
    std::vector<float> slots_;
    MinMaxPyramid pyramid_;
};

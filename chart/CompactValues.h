#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

/// A column of doubles kept in four bytes each. Every value a float holds exactly
/// (all sensor readings, usual line levels) is stored as that float; any other
/// value goes to a side table and its slot holds a quiet NaN carrying the table
/// index, so every value reads back exactly. NaN itself reads back as NaN.
class CompactValues {
public:
    std::size_t size() const { return slots_.size(); }
    double at(std::size_t i) const;

    void append(double value) { slots_.push_back(encode(value)); }
    void insert(std::size_t i, double value);
    void clear();

    std::size_t bytesUsed() const;

private:
    float encode(double value);

    std::vector<float> slots_;
    std::vector<double> wide_;
    std::unordered_map<double, std::uint32_t> wideIndex_;
};

#include "CompactValues.h"

#include <algorithm>
#include <cfloat>

namespace {
constexpr std::uint32_t QuietNan = 0x7FC00000u;
} // namespace

void CompactValues::clear()
{
    wide_ = {};
    wideIndex_ = {};
}

std::size_t CompactValues::bytesUsed() const
{
    return wide_.capacity() * sizeof(double) +
           wideIndex_.size() * (sizeof(double) + sizeof(std::uint32_t) + 2 * sizeof(void *));
}

float CompactValues::encode(double value)
{
    if (std::isnan(value))
        return std::bit_cast<float>(QuietNan);
    // The range check comes first: converting a double beyond the float range is undefined.
    if (std::isinf(value) || (std::fabs(value) <= FLT_MAX && static_cast<double>(static_cast<float>(value)) == value))
        return static_cast<float>(value);
    auto found = wideIndex_.find(value);
    if (found == wideIndex_.end()) {
        // Millions of distinct values no float can hold do not occur in a plot;
        // should they, the rest are kept to float precision rather than refused.
        // Payload 0 is NaN itself, so the table index is stored plus one.
        if (wide_.size() >= PayloadMask)
            return static_cast<float>(std::clamp(value, -double(FLT_MAX), double(FLT_MAX)));
        found = wideIndex_.emplace(value, static_cast<std::uint32_t>(wide_.size())).first;
        wide_.push_back(value);
    }
    return std::bit_cast<float>(QuietNan | (found->second + 1));
}

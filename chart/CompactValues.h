#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

/// Doubles kept in four-byte slots. Every value a float holds exactly (all sensor
/// readings, usual line levels) is stored as that float; any other value goes to a
/// side table and its slot holds a quiet NaN carrying the table index, so every value
/// reads back exactly. NaN itself reads back as NaN. Slots may be moved and copied
/// freely: they stay valid as long as the table that encoded them is not cleared.
class CompactValues {
public:
    float encode(double value);
    double decode(float slot) const
    {
        if (!std::isnan(slot))
            return slot;
        const std::uint32_t payload = std::bit_cast<std::uint32_t>(slot) & PayloadMask;
        return payload == 0 ? std::numeric_limits<double>::quiet_NaN() : wide_[payload - 1];
    }

    void clear();
    std::size_t bytesUsed() const;

private:
    static constexpr std::uint32_t PayloadMask = 0x003FFFFFu;

    std::vector<double> wide_;
    std::unordered_map<double, std::uint32_t> wideIndex_;
};

#pragma once

#include <cstdint>

/// The colours that tell the channels apart, alike in value fields, gauges, dials, chart
/// lines and register cells, as 0xRRGGBB (QColor takes them as they are).
namespace ChannelColours {
inline constexpr uint32_t sensor[3] = {0xFF0000, 0x00FF00, 0x00FFFF};
/// The darker half of a dial.
inline constexpr uint32_t sensorDim[3] = {0x800000, 0x008000, 0x008080};
/// The "Aktywny" captions: red, green and teal.
inline constexpr uint32_t activeCaption[3] = {0xFF0000, 0x008000, 0x008080};
inline constexpr uint32_t pk1 = 0xFFFFFF;
inline constexpr uint32_t pk2 = 0xFF8000;
} // namespace ChannelColours

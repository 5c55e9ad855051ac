#pragma once

// Sample conversions shared by the decoder and the playout.

#include <algorithm>
#include <cstdint>

namespace velmora::engine {

// Full scale +-1.0 to 16 bits, rounded to nearest by truncating a value
// made positive: std::lrint is a call into libm for every sample, and a
// branch on the sign mispredicts half the time.
inline std::int16_t ToSigned16(float sample)
{
    const float scaled = std::clamp(sample * 32768.0f, -32768.0f, 32767.0f);
    return static_cast<std::int16_t>(static_cast<int>(scaled + 32768.5f) - 32768);
}

inline std::uint8_t ToUnsigned8(int sample16)
{
    return static_cast<std::uint8_t>(std::clamp((sample16 + 128) >> 8, -128, 127) + 128);
}

inline constexpr float FromSigned16 = 1.0f / 32768.0f;

} // namespace velmora::engine

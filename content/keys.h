// The keys the game reads, as DirectInput scan codes.
#pragma once
#include <cstdint>

namespace kavro_content {

inline constexpr int32_t kKeyEscape = 0x01;
inline constexpr int32_t kKeySpace = 0x39;
inline constexpr int32_t kKeyUp = 0xC8;
inline constexpr int32_t kKeyLeft = 0xCB;
inline constexpr int32_t kKeyRight = 0xCD;

}  // namespace kavro_content

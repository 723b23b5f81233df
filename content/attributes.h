// The behaviour codes a map cell carries in its attribute field, as the game reads them.
// Codes live in layer 0, except the bonus, which the game reads in layer 1.
#pragma once
#include <cstdint>

namespace kavro_content {

inline constexpr int16_t kEmpty = 0;         // nothing; a jump needs the head to see this
inline constexpr int16_t kSolid = 1;         // stops the player from the side, below and above
inline constexpr int16_t kPlatform = 2;      // carries the feet only
inline constexpr int16_t kDeadly = 3;        // under the body: back to the start marker
inline constexpr int16_t kBonus = 4;         // in layer 1 under the body: collected
inline constexpr int16_t kLadder = 5;        // slow fall under the body; Up climbs at the head
inline constexpr int16_t kRisingSlope = 6;   // surface climbs to the right
inline constexpr int16_t kFallingSlope = 7;  // surface descends to the right

}  // namespace kavro_content

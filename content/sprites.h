// The game's sprite numbers and the layout of the sheets they are made from.
#pragma once
#include <cstdint>

namespace kavro_content {

inline constexpr int32_t kBackgroundSprite = 0;
inline constexpr int32_t kPlayerSprite = 100;
inline constexpr int32_t kCreatureSprite = 200;

// Player sheet: frames of 28 x 32, facing right in the top row and facing left in the second
// at the same x; walking frames side by side from x 0, then one frame each for jumping,
// falling and climbing.
inline constexpr int32_t kPlayerSheetWidth = 466, kPlayerSheetHeight = 128;
inline constexpr int32_t kPlayerFrameWidth = 28, kPlayerFrameHeight = 32;
inline constexpr int32_t kPlayerFacingRightY = 0, kPlayerFacingLeftY = 32;
inline constexpr int32_t kPlayerWalkX = 0, kPlayerWalkFrames = 3;
inline constexpr int32_t kPlayerJumpX = 90;
inline constexpr int32_t kPlayerFallX = 119;
inline constexpr int32_t kPlayerClimbX = 312;

// Creature sheet: 32 x 32 frames in its top row, walking right from x 0 and walking left from
// x 96, three frames each.
inline constexpr int32_t kCreatureSheetWidth = 256, kCreatureSheetHeight = 96;
inline constexpr int32_t kCreatureFrameSize = 32;
inline constexpr int32_t kCreatureRightX = 0, kCreatureLeftX = 96, kCreatureWalkFrames = 3;

}  // namespace kavro_content

// The three pictures stored inside the executables, with the sizes and frame positions the
// game reads them at.
#pragma once
#include "content/sprites.h"
#include "tools/art/canvas.h"

namespace kavro_art {

using kavro_content::kCreatureFrameSize;
using kavro_content::kCreatureSheetHeight;
using kavro_content::kCreatureSheetWidth;
using kavro_content::kPlayerFrameHeight;
using kavro_content::kPlayerFrameWidth;
using kavro_content::kPlayerSheetHeight;
using kavro_content::kPlayerSheetWidth;

// Player sheet, 466 x 128: 28 x 32 frames, facing right in rows 0..31 and facing left in
// rows 32..63 at the same x: walking at x 0, 28, 56, jumping at 90, falling at 119, climbing
// at 312. Everything else is black.
inline constexpr int kPlayerFrameX[] = {kavro_content::kPlayerWalkX,
                                        kavro_content::kPlayerWalkX + kPlayerFrameWidth,
                                        kavro_content::kPlayerWalkX + 2 * kPlayerFrameWidth,
                                        kavro_content::kPlayerJumpX,
                                        kavro_content::kPlayerFallX,
                                        kavro_content::kPlayerClimbX};
Canvas PaintPlayerSheet();

// Creature sheet, 256 x 96: six 32 x 32 frames in the top row, walking right at x 0, 32, 64
// and walking left at x 96, 128, 160. Everything else is black.
inline constexpr int kCreatureFrames = 2 * kavro_content::kCreatureWalkFrames;
Canvas PaintCreatureSheet();

// Background, 1024 x 768: sky, sun, clouds and hills.
inline constexpr int kBackgroundWidth = 1024, kBackgroundHeight = 768;
Canvas PaintBackground();

}  // namespace kavro_art

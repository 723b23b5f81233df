// The three pictures stored inside the executables, with the sizes and frame positions the
// game reads them at.
#pragma once
#include "tools/art/canvas.h"

namespace kavro_art {

// Player sheet, 466 x 128: 28 x 32 frames, facing right in rows 0..31 and facing left in
// rows 32..63 at the same x: walking at x 0, 28, 56, jumping at 90, falling at 119, climbing
// at 312. Everything else is black.
inline constexpr int kPlayerSheetWidth = 466, kPlayerSheetHeight = 128;
inline constexpr int kPlayerFrameWidth = 28, kPlayerFrameHeight = 32;
inline constexpr int kPlayerFrameX[] = {0, 28, 56, 90, 119, 312};
Canvas PaintPlayerSheet();

// Creature sheet, 256 x 96: six 32 x 32 frames in the top row, walking right at x 0, 32, 64
// and walking left at x 96, 128, 160. Everything else is black.
inline constexpr int kCreatureSheetWidth = 256, kCreatureSheetHeight = 96;
inline constexpr int kCreatureFrameSize = 32, kCreatureFrames = 6;
Canvas PaintCreatureSheet();

// Background, 1024 x 768: sky, sun, clouds and hills.
inline constexpr int kBackgroundWidth = 1024, kBackgroundHeight = 768;
Canvas PaintBackground();

}  // namespace kavro_art

// The picture the screen demo draws, shared by the demo and the tests that check its frames.
#pragma once
#include <cstdint>

// Background: four quadrants, red, green, blue and grey (0xRRGGBB).
inline uint32_t DemoBackground(int32_t x, int32_t y) {
    static const uint32_t kQuadrants[4] = {0xC00000, 0x00C000, 0x0000C0, 0x808080};
    return kQuadrants[(x >= 320 ? 1 : 0) + (y >= 240 ? 2 : 0)];
}

// A row of opaque tile quads in the red quadrant, and one at half opacity in the green one.
constexpr uint32_t kDemoTileColour = 0xFFFF00;
constexpr int32_t kDemoTiles = 4;
constexpr int32_t kDemoTileX = 40;
constexpr int32_t kDemoTileY = 100;
constexpr int32_t kDemoHalfTileX = 400;
constexpr int32_t kDemoHalfTileY = 100;

// A white sprite with a black (transparent) centre, in the blue quadrant.
constexpr int32_t kDemoSpriteSize = 64;
constexpr int32_t kDemoSpriteX = 100;
constexpr int32_t kDemoSpriteY = 300;
inline uint32_t DemoSprite(int32_t x, int32_t y) {
    bool centre = x >= 16 && x < 48 && y >= 16 && y < 48;
    return centre ? 0x000000 : 0xFFFFFF;
}

// What the demo's frame holds at (x, y), as 0xRRGGBB.
inline uint32_t DemoExpected(int32_t x, int32_t y) {
    if (y >= kDemoTileY && y < kDemoTileY + 32 && x >= kDemoTileX &&
        x < kDemoTileX + 32 * kDemoTiles) {
        return kDemoTileColour;
    }
    if (y >= kDemoHalfTileY && y < kDemoHalfTileY + 32 && x >= kDemoHalfTileX &&
        x < kDemoHalfTileX + 32) {
        // Yellow at alpha 128 over green 0xC0: round(c x a / 255) + round(d x (255 - a) / 255).
        return (128u << 16) | ((128u + 96u) << 8);
    }
    if (x >= kDemoSpriteX && x < kDemoSpriteX + kDemoSpriteSize && y >= kDemoSpriteY &&
        y < kDemoSpriteY + kDemoSpriteSize) {
        uint32_t s = DemoSprite(x - kDemoSpriteX, y - kDemoSpriteY);
        if (s != 0) return s;
    }
    return DemoBackground(x, y);
}

// Test levels written as map files with a tileset of one-colour tiles, and the view read back
// from the colours of a frame.
#include "tests/e2e/test_level.h"

#include <fstream>

#include "tests/support/tile_colours.h"

namespace fs = std::filesystem;
using namespace level;
using kavro_content::kEmpty;
using kavro_content::kSolid;

TestLevel::TestLevel(int w, int h) : w_(w), h_(h), map_(w, h, 1) {
    for (int y = 0; y <= h; ++y)
        map_.Fill(0, y, w, y, 0, TestCell{static_cast<int16_t>(kSkyBase + y), 255, kEmpty});
    map_.tilesets = {"GFX\\tiles.png"};
}

void TestLevel::Ground(int row) {
    for (int x = 0; x <= w_; ++x) Column(x, row, h_, static_cast<int16_t>(kGroundBase + x), kSolid);
}

void TestLevel::Put(int x, int y, int16_t tile, int16_t attribute, int layer) {
    TestCell& c = map_.At(x, y, layer);
    c.tile = tile;
    c.attribute = attribute;
}

void TestLevel::Column(int x, int y0, int y1, int16_t tile, int16_t attribute) {
    for (int y = y0; y <= y1; ++y) Put(x, y, tile, attribute);
}

void TestLevel::WriteTo(const fs::path& dir) const {
    fs::create_directories(dir / "GFX");
    const Bytes png = TilesetPng(640, 448);  // 280 tiles
    std::ofstream(dir / "GFX" / "tiles.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    std::ofstream(dir / "Kavro.Map", std::ios::binary) << map_.Bytes();
}

int TileAt(const Picture& frame, int x, int y) {
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return -1;
    return TileOfColour(frame.At(x, y));
}

int ViewY(const Picture& frame) {
    // Columns clear of the display texts (top left and top right) and of the player.
    for (int x : {150, 200, 250, 420, 470}) {
        for (int y = 0; y + 1 < frame.height; ++y) {
            const int t = TileAt(frame, x, y), below = TileAt(frame, x, y + 1);
            const bool sky = t >= kSkyBase && t < kGroundBase - 1;
            if (sky && below == t + 1) return 32 * (t - kSkyBase + 1) - (y + 1);
        }
    }
    return INT_MIN;
}

int ViewX(const Picture& frame, int y) {
    const int first = TileAt(frame, 0, y);
    if (first < kGroundBase || first >= kavro_content::kStartMarkerTile) return INT_MIN;
    for (int x = 1; x < frame.width; ++x) {
        const int t = TileAt(frame, x, y);
        if (t == first) continue;
        if (t != first + 1) return INT_MIN;
        return 32 * (first - kGroundBase + 1) - x;
    }
    return INT_MIN;
}

bool Shows(const Picture& frame, int tile) {
    const uint32_t colour = TileColour(tile);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (frame.At(x, y) == colour) return true;
    return false;
}

std::vector<uint32_t> PlayerPixels(const Picture& frame) {
    std::vector<uint32_t> pixels;
    for (int y = 240; y < 272; ++y)
        for (int x = 320; x < 348; ++x) {
            const uint32_t c = frame.At(x, y);
            pixels.push_back(TileOfColour(c) >= 0 ? 0 : c);
        }
    return pixels;
}

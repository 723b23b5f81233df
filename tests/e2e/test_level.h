// Small levels made by the end-to-end tests, and the reading of the view from a captured frame.
//
// Every tile is one solid colour that names it (tests/support/tile_colours.h). Layer 0 is filled
// with sky whose tile tells its row, and the ground's tiles tell their column, so a frame shows
// where the view is: the boundary between two sky rows gives view_y, the boundary between two
// ground columns near the bottom of the screen gives view_x.
#pragma once
#include <climits>
#include <filesystem>
#include <string>

#include "content/attributes.h"
#include "content/tiles.h"
#include "tests/e2e/game_runner.h"
#include "tests/support/map_writer.h"

namespace level {

constexpr int16_t kWall = 3;
constexpr int16_t kPlatform = 4;
constexpr int16_t kLadder = 5;
constexpr int16_t kSpikes = 6;
constexpr int16_t kCoin = 7;
constexpr int16_t kRise = 8;
constexpr int16_t kFall = 9;
constexpr int16_t kCeiling = 10;
constexpr int16_t kSkyBase = 20;      // sky of row r: tile 20 + r
constexpr int16_t kGroundBase = 100;  // ground in column c: tile 100 + c

}  // namespace level

class TestLevel {
  public:
    // Last column w, last row h (w <= 99, h <= 59), two layers; sky everywhere in layer 0.
    TestLevel(int w, int h);
    // Solid ground from row `row` down to the last row, in every column.
    void Ground(int row);
    void Put(int x, int y, int16_t tile, int16_t attribute, int layer = 0);
    // Layer-0 cells in rows y0..y1 of column x.
    void Column(int x, int y0, int y1, int16_t tile, int16_t attribute);
    void Marker(int x, int y) { Put(x, y, kavro_content::kStartMarkerTile, kavro_content::kEmpty); }
    void Coin(int x, int y) { Put(x, y, level::kCoin, kavro_content::kBonus, 1); }
    TestMap& Map() { return map_; }
    // Writes Kavro.Map and GFX/tiles.png into `dir`.
    void WriteTo(const std::filesystem::path& dir) const;

  private:
    int w_, h_;
    TestMap map_;
};

// view_y read from the sky rows, or INT_MIN when no sky boundary is visible.
int ViewY(const Picture& frame);
// view_x read from the ground columns in screen row y (default: near the bottom), or INT_MIN.
int ViewX(const Picture& frame, int y = 470);
// The tile whose colour is at (x, y), or -1.
int TileAt(const Picture& frame, int x, int y);
// Whether any pixel of the frame shows tile `tile`.
bool Shows(const Picture& frame, int tile);
// The player's 28 x 32 pixels at (320, 240), for comparing frames of the player sheet; what
// shows of the map through its transparent pixels reads as 0.
std::vector<uint32_t> PlayerPixels(const Picture& frame);

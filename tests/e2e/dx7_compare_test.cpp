// kavro-dx9 and kavro-dx7 side by side: the same keyboard script gives the same presented
// frames and the same display lines, pixel for pixel, except the backend name and frame rate in
// the top line. Translucent tiles are included: the two backends make them differently (on
// Direct3D 9 a tile's alpha is its texel alpha times the opacity, with black texels at alpha 0;
// on DirectDraw 7 it is the opacity itself, and black texels are cut by the colour key), which on
// the 32-bit screen gives the same pixels.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/game_runner.h"
#include "tests/e2e/test_level.h"
#include "tests/support/tile_colours.h"

namespace {

namespace fs = std::filesystem;

// The top line ("DX 9 - FPS: n" at (500, 1)) differs by design: its cell and what follows it.
bool InTopLine(int x, int y) {
    return x >= 500 && y < 20;
}

struct Comparison {
    int differing = 0;         // pixels that differ outside the top line
    int differing_in_top = 0;  // pixels that differ inside it
    std::string first_difference;
};

Comparison Compare(const Picture& a, const Picture& b) {
    Comparison c;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.At(x, y) == b.At(x, y)) continue;
            if (InTopLine(x, y)) {
                ++c.differing_in_top;
            } else if (c.differing++ == 0) {
                c.first_difference = std::to_string(x) + "," + std::to_string(y);
            }
        }
    }
    return c;
}

class Dx7CompareTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = ScratchDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs both deliverables in the test's directory with the same script and frames.
    void RunBoth(const std::string& keys, const std::string& frames) {
        RunOptions options;
        options.keys = keys;
        options.capture_frames = frames;
        dx9_ = RunGame(DeliverablePath("kavro-dx9"), dir_, options);
        dx7_ = RunGame(DeliverablePath("kavro-dx7"), dir_, options);
        ASSERT_EQ(dx9_.exit_code, 0) << dx9_.errors;
        ASSERT_EQ(dx7_.exit_code, 0) << dx7_.errors;
        ASSERT_EQ(dx7_.presents, dx9_.presents);
    }

    // Every captured frame and every frame's display lines agree, but for the top line.
    void ExpectSameGame() {
        ASSERT_FALSE(dx9_.frames.empty());
        ASSERT_EQ(dx7_.frames.size(), dx9_.frames.size());
        for (const auto& [present, picture] : dx9_.frames) {
            ASSERT_EQ(dx7_.frames.count(present), 1u) << "present " << present;
            const Picture& other = dx7_.frames.at(present);
            ASSERT_EQ(other.width, picture.width);
            ASSERT_EQ(other.height, picture.height);
            const Comparison c = Compare(picture, other);
            EXPECT_EQ(c.differing, 0)
                << "present " << present << " first at " << c.first_difference;
            // The backend's name tells the two apart.
            EXPECT_GT(c.differing_in_top, 0) << "present " << present;
        }
        ASSERT_EQ(dx7_.texts.size(), dx9_.texts.size());
        for (size_t n = 0; n < dx9_.texts.size(); ++n) {
            const Hud a = dx9_.HudOf(static_cast<int>(n + 1));
            const Hud b = dx7_.HudOf(static_cast<int>(n + 1));
            ASSERT_TRUE(a.complete && b.complete) << "present " << n + 1;
            EXPECT_EQ(a.top.rfind("DX 9 - FPS: ", 0), 0u);
            EXPECT_EQ(b.top.rfind("DX 7 - FPS: ", 0), 0u);
            // Every other line is the same text.
            std::vector<std::string> rest_a(dx9_.texts[n].begin() + 1, dx9_.texts[n].end());
            std::vector<std::string> rest_b(dx7_.texts[n].begin() + 1, dx7_.texts[n].end());
            EXPECT_EQ(rest_a, rest_b) << "present " << n + 1;
        }
    }

    fs::path dir_;
    GameRun dx9_, dx7_;
};

TEST_F(Dx7CompareTest, TheShippedLevelPlaysTheSameOnBothDeliverables) {
    const fs::path run_dir = KAVRO_E2E_RUN_DIR;
    fs::copy_file(run_dir / "Kavro.Map", dir_ / "Kavro.Map");
    fs::copy(run_dir / "GFX", dir_ / "GFX", fs::copy_options::recursive);
    // Walk, jump, turn and jump back: scrolling, the creature, bonuses and the player sheet.
    RunBoth(
        "20-160 Right\n70 Space\n120 Space\n170-230 Left\n190 Space\n240-300 Right\n"
        "260 Space Right\n310 Escape\n",
        "1,40,75,90,125,150,180,200,235,265,290,310");
    ExpectSameGame();
}

// The tileset of the test colours, with black holes in tiles 40 to 69 (every third pixel of each
// fourth row and the left column), so keyed texels show at every opacity.
Bytes HoledTileset() {
    PngImage png;
    png.width = 640;
    png.height = 448;
    for (uint32_t y = 0; y < png.height; ++y) {
        Bytes row;
        for (uint32_t x = 0; x < png.width; ++x) {
            const int32_t tile = static_cast<int32_t>((y / 32) * 20 + x / 32);
            const bool holed = tile >= 40 && tile < 70;
            const bool hole = holed && ((x % 32 == 0) || (y % 4 == 0 && x % 3 == 0));
            const uint32_t c = hole ? 0 : TileColour(tile);
            row.push_back(static_cast<uint8_t>(c >> 16));
            row.push_back(static_cast<uint8_t>(c >> 8));
            row.push_back(static_cast<uint8_t>(c));
        }
        png.rows.push_back(row);
    }
    return EncodePng(png);
}

TEST_F(Dx7CompareTest, TranslucentTilesWithBlackHolesLookTheSameOnBothDeliverables) {
    TestLevel level(40, 20);
    level.Ground(13);
    level.Marker(20, 12);
    // Layer-1 tiles over the sky and the ground at the opacities a map may hold, 256 and
    // negative ones included (only the low 8 bits count).
    const int16_t opacities[] = {255, 200, 128, 64, 1, 0, 256, 383, -1};
    for (int i = 0; i < 9; ++i) {
        level.Put(14 + 2 * i, 7, static_cast<int16_t>(40 + i), kavro_content::kEmpty, 1);
        level.Map().At(14 + 2 * i, 7, 1).alpha = opacities[i];
        level.Put(14 + 2 * i, 14, static_cast<int16_t>(60 + i), kavro_content::kEmpty, 1);
        level.Map().At(14 + 2 * i, 14, 1).alpha = opacities[i];
    }
    level.WriteTo(dir_);
    const Bytes tiles = HoledTileset();
    std::ofstream(dir_ / "GFX" / "tiles.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(tiles.data()),
               static_cast<std::streamsize>(tiles.size()));
    // Stand, then walk so the tiles cross the screen edges.
    RunBoth("20-60 Right\n80-140 Left\n150 Escape\n", "5,30,60,100,140,150");
    ExpectSameGame();
    // The tiles are on the frames compared: opaque ones show their colour, translucent ones a
    // mix, and their holes the sky behind them.
    const Picture& frame = dx7_.frames.at(5);
    const int view_x = ViewX(frame), view_y = ViewY(frame);
    ASSERT_NE(view_x, INT_MIN);
    ASSERT_NE(view_y, INT_MIN);
    auto tile_pixel = [&](int column, int row, int dx, int dy) {
        return TileAt(frame, column * 32 - view_x + dx, row * 32 - view_y + dy);
    };
    EXPECT_EQ(tile_pixel(14, 7, 16, 17), 40);                   // opacity 255: the tile
    EXPECT_EQ(tile_pixel(16, 7, 16, 17), -1);                   // opacity 200: a mix
    EXPECT_EQ(tile_pixel(16, 7, 0, 17), level::kSkyBase + 7);   // a hole: the sky
    EXPECT_EQ(tile_pixel(24, 7, 16, 17), level::kSkyBase + 7);  // opacity 0: nothing
    EXPECT_EQ(tile_pixel(26, 7, 16, 17), level::kSkyBase + 7);  // 256: nothing
}

}  // namespace

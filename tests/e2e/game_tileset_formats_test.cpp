// A tileset as a level maker's paint program may save it: the same picture as a 24-bit BMP, a
// 16-bit 5-6-5 bit-field BMP and an RGB PNG whose tRNS chunk keys black draws the same level.
#include <fstream>
#include <set>

#include "tests/e2e/game_fixture.h"
#include "tests/support/tile_colours.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kWidth = 640;
constexpr uint32_t kHeight = 448;

// Colours a 5-6-5 pixel holds exactly: each field widened by repeating its bits.
uint32_t Exact565(uint32_t rgb) {
    const uint32_t r = (rgb >> 19) & 0x1F, g = (rgb >> 10) & 0x3F, b = (rgb >> 3) & 0x1F;
    return (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
}

// The test tileset's colours, each made exact in 5-6-5, with the top-left 8 x 8 pixels of every
// tile black: the transparent colour, through which what lies behind shows.
std::vector<uint32_t> TilesetPixels() {
    std::vector<uint32_t> pixels(kWidth * kHeight);
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t x = 0; x < kWidth; ++x) {
            const int32_t tile = static_cast<int32_t>((y / 32) * (kWidth / 32) + x / 32);
            const bool key = x % 32 < 8 && y % 32 < 8;
            pixels[y * kWidth + x] = key ? 0 : Exact565(TileColour(tile));
        }
    }
    return pixels;
}

// The pixels as rows of a file: blue-green-red (24-bit BMP), red-green-blue (PNG) or 5-6-5.
enum class Layout { kBgr, kRgb, k565 };
std::vector<Bytes> Rows(const std::vector<uint32_t>& pixels, Layout layout) {
    std::vector<Bytes> rows(kHeight);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint8_t r = static_cast<uint8_t>(pixels[i] >> 16),
                      g = static_cast<uint8_t>(pixels[i] >> 8), b = static_cast<uint8_t>(pixels[i]);
        Bytes& row = rows[i / kWidth];
        if (layout == Layout::kBgr) row.insert(row.end(), {b, g, r});
        if (layout == Layout::kRgb) row.insert(row.end(), {r, g, b});
        if (layout == Layout::k565) {
            const uint32_t v = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
            row.insert(row.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
        }
    }
    return rows;
}

// The top line shows the frame rate, which differs between runs.
bool SameOutsideTopLine(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height) return false;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (!(x >= 500 && y < 20) && a.At(x, y) != b.At(x, y)) return false;
    return true;
}

class TilesetFormatTest : public GameTest {
  protected:
    // The flat level with decorations in layer 1 in front of the start, some translucent, and
    // its tileset saved as `name`.
    GameRun PlayWithTileset(const std::string& name, const Bytes& file) {
        TestLevel level = FlatLevel();
        for (int x = 16; x <= 26; ++x) {
            level.Put(x, 10, static_cast<int16_t>(200 + x), kavro_content::kEmpty, 1);
            if (x % 2) level.Map().At(x, 10, 1).alpha = 128;
        }
        level.Map().tilesets = {"GFX\\" + name};
        level.WriteTo(dir_);
        std::ofstream(dir_ / "GFX" / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()),
                   static_cast<std::streamsize>(file.size()));
        RunOptions options;
        options.keys = "1-30 Right\n40 Escape\n";
        options.capture_frames = "1,20,40";
        return PlayHere(options);
    }
};

TEST_P(TilesetFormatTest, BitFieldBmpAndKeyedPngDrawLikeTheTwentyFourBitBmp) {
    const std::vector<uint32_t> pixels = TilesetPixels();
    const BmpImage bmp24{
        .width = kWidth, .height = kHeight, .bits = 24, .rows = Rows(pixels, Layout::kBgr)};
    const GameRun reference = PlayWithTileset("tiles.bmp", EncodeBmp(bmp24));
    ASSERT_EQ(reference.exit_code, 0) << reference.errors;
    ASSERT_EQ(reference.frames.size(), 3u);
    // The reference shows the tiles, and what lies behind them through their black corners.
    const std::set<uint32_t> colours(pixels.begin(), pixels.end());
    const Picture& first = reference.frames.at(1);
    int tile_pixels = 0;
    for (int y = 0; y < first.height; ++y)
        for (int x = 0; x < first.width; ++x) tile_pixels += colours.count(first.At(x, y));
    const int all = first.width * first.height;
    EXPECT_GT(tile_pixels, all / 2);
    EXPECT_LT(tile_pixels, all - all / 30);

    const struct {
        const char* name;
        Bytes file;
    } variants[] = {{"tiles565.bmp", EncodeBmp({.width = kWidth,
                                                .height = kHeight,
                                                .bits = 16,
                                                .compression = 3,
                                                .rows = Rows(pixels, Layout::k565),
                                                .masks = {0xF800, 0x07E0, 0x001F}})},
                    {"tiles.png", EncodePng({.width = kWidth,
                                             .height = kHeight,
                                             .rows = Rows(pixels, Layout::kRgb),
                                             .key = {0, 0, 0}})}};
    for (const auto& v : variants) {
        const GameRun run = PlayWithTileset(v.name, v.file);
        ASSERT_EQ(run.exit_code, 0) << v.name << ": " << run.errors;
        ASSERT_EQ(run.frames.size(), 3u) << v.name;
        for (const auto& [n, frame] : reference.frames) {
            EXPECT_TRUE(SameOutsideTopLine(run.frames.at(n), frame)) << v.name << ", frame " << n;
        }
    }
}

KAVRO_ON_EVERY_DELIVERABLE(TilesetFormatTest);

}  // namespace

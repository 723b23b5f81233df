// Fuzz target: level map files through Map_Load, as the game loads "Kavro.Map": the input is
// written to a file and read through the file library, its tileset names load real images from
// the scratch folder (GFX\tiles.png, GFX\tiles.bmp, GFX\tiles.jpg), and the loaded grid is then
// used as a frame of the game uses it: the start marker searched, both layers drawn (which
// animates cells) at a few views, and cells probed.
//
// Each input is kept cheap so the fuzzer explores thousands of maps a second: the tilesets are
// one tile each and written once, a map whose loading would cost far more than it can teach (a
// vast grid, tiny tiles, thousands of tileset names or lines) is not loaded, and the layers are
// drawn with the screen origin near the bottom-right corner, so the engine walks and animates every
// cell of the view and the device takes each quad, but only the first few land on the screen.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "content/tiles.h"
#include "game/map/map_engine.h"
#include "runtime/screen/sprite3d.h"
#include "tests/fuzz/fuzz_runtime.h"
#include "tests/support/image_builders.h"

namespace {

// The budget of one input. Maps beyond it use the same code as maps within it, only more often.
constexpr int64_t kMostCells = int64_t{1} << 14;
constexpr int32_t kLeastTileSize = 16;
constexpr int32_t kMostNames = 64;
// Line ends (CR, LF or a zero byte) after the cells, where the names and the info text are:
// each info line costs the file library two system calls, for its position and its length.
constexpr int64_t kMostLineEnds = 256;
// Where the views are drawn: 2 x 2 cells of 32 pixels reach the screen, partly clipped.
constexpr int32_t kOriginX = 640 - 64;
constexpr int32_t kOriginY = 480 - 64;

// Every tileset is one 32-pixel tile (four of 16 pixels, the smallest size loaded). The BMP has
// a black pixel in its corner, the transparent colour; the PNG has none, so its tiles are opaque
// and cover what is drawn before them.
constexpr uint32_t kTile = 32;

void WriteTilesets() {
    std::filesystem::create_directory("GFX");
    PngImage png{.width = kTile, .height = kTile};
    BmpImage bmp{.width = kTile, .height = kTile, .bits = 24};
    JpegImage jpeg{.width = kTile, .height = kTile};
    for (uint32_t y = 0; y < kTile; ++y) {
        Bytes row;
        for (uint32_t x = 0; x < kTile; ++x) {
            row.insert(row.end(), {static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 8),
                                   static_cast<uint8_t>((x ^ y) * 8)});
        }
        bmp.rows.push_back(row);
        jpeg.samples.insert(jpeg.samples.end(), row.begin(), row.end());
        row[2] = 255;
        png.rows.push_back(row);
    }
    Bytes file = EncodePng(png);
    FuzzRuntime_WriteFile("GFX/tiles.png", file.data(), file.size());
    file = EncodeBmp(bmp);
    FuzzRuntime_WriteFile("GFX/tiles.bmp", file.data(), file.size());
    file = EncodeJpeg(jpeg);
    FuzzRuntime_WriteFile("GFX/tiles.jpg", file.data(), file.size());
}

int32_t Read16(const uint8_t* p) {
    return static_cast<int16_t>(p[0] | (p[1] << 8));
}

// False for a map the loader would accept but whose loading is beyond the budget. Maps it
// refuses anyway (bad header, sizes out of range) are cheap and always loaded.
bool WithinBudget(const uint8_t* data, size_t size) {
    constexpr size_t kHeader = 14;
    if (size < kHeader || std::memcmp(data, "LVD", 3) != 0 || data[4] != '2' || data[5] != '0') {
        return true;
    }
    const int32_t tile_size = Read16(data + 7);
    const int32_t w = Read16(data + 9);
    const int32_t h = Read16(data + 11);
    const int32_t l = static_cast<int8_t>(data[13]);
    if (tile_size <= 0 || w < 0 || h < 0 || l < 0) return true;
    const int64_t cells = int64_t{w + 1} * (h + 1) * (l + 1);
    if (cells > kMapMaxCells) return true;
    if (cells > kMostCells || tile_size < kLeastTileSize) return false;
    // The name count follows the cells; a byte missing at the end of the file reads as 0.
    const size_t at = kHeader + 15 * static_cast<size_t>(cells);
    if (size <= at) return true;
    const int32_t last_name = at + 1 < size ? Read16(data + at) : data[at];
    if (last_name >= kMostNames) return false;
    int64_t line_ends = 0;
    for (size_t i = at; i < size; ++i) {
        line_ends += data[i] == '\r' || data[i] == '\n' || data[i] == 0;
    }
    return line_ends <= kMostLineEnds;
}

bool Prepare() {
    FuzzRuntime_Start(true);
    WriteTilesets();
    Map_Init();
    Map_SetGraphicsPath("GFX\\");
    return true;
}

void DrawAt(float x, float y) {
    Map_SetScreenOrigin(kOriginX, kOriginY);
    Map_SetPosition(x, y);
    Sprite3D_Start();
    Map_DrawLayer(0, 20, 15);
    Map_DrawLayer(1, 20, 15);
    Sprite3D_Stop();
    for (int32_t layer = 0; layer < 3; ++layer) Map_CellAt(336, 256, layer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = Prepare();
    (void)ready;
    if (!WithinBudget(data, size)) return 0;
    FuzzRuntime_WriteFile("Kavro.Map", data, size);
    if (Map_Load("Kavro.Map") <= 0) return 0;
    Map_FindTiles(kavro_content::kStartMarkerTile, 0);
    const float start_x = static_cast<float>(Map_FoundX(0) - 10) * 32.0f;
    const float start_y = static_cast<float>(Map_FoundY(0) - 8) * 32.0f;
    DrawAt(start_x, start_y);
    DrawAt(0.0f, 0.0f);
    DrawAt(static_cast<float>(Map_PixelWidth()), static_cast<float>(Map_PixelHeight()));
    DrawAt(-1000.0f, -1000.0f);
    return 0;
}

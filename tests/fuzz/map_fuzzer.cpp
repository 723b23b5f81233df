// Fuzz target: level map files through Map_Load, as the game loads "Kavro.Map": the input is
// written to a file and read through the file library, its tileset names load real images from
// the scratch folder (GFX\tiles.png, GFX\tiles.bmp, GFX\tiles.jpg), and the loaded grid is then
// used as a frame of the game uses it: the start marker searched, both layers drawn (which
// animates cells) at a few views, and cells probed.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "game/map/map_engine.h"
#include "runtime/screen/sprite3d.h"
#include "tests/fuzz/fuzz_runtime.h"
#include "tests/image/image_builders.h"

namespace {

Bytes Rgb(uint32_t width, uint32_t height) {
    Bytes samples;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            samples.push_back(static_cast<uint8_t>(x * 4));
            samples.push_back(static_cast<uint8_t>(y * 4));
            samples.push_back(static_cast<uint8_t>((x / 32 + y / 32) * 80));
        }
    }
    return samples;
}

void WriteTilesets() {
    std::filesystem::create_directory("GFX");
    PngImage png{.width = 64, .height = 64};
    Bytes samples = Rgb(64, 64);
    for (uint32_t y = 0; y < 64; ++y) {
        png.rows.emplace_back(samples.begin() + y * 192, samples.begin() + (y + 1) * 192);
    }
    Bytes file = EncodePng(png);
    FuzzRuntime_WriteFile("GFX/tiles.png", file.data(), file.size());

    BmpImage bmp{.width = 32, .height = 64, .bits = 24};
    samples = Rgb(32, 64);
    for (uint32_t y = 0; y < 64; ++y) {
        bmp.rows.emplace_back(samples.begin() + y * 96, samples.begin() + (y + 1) * 96);
    }
    file = EncodeBmp(bmp);
    FuzzRuntime_WriteFile("GFX/tiles.bmp", file.data(), file.size());

    JpegImage jpeg{.width = 96, .height = 32, .samples = Rgb(96, 32)};
    file = EncodeJpeg(jpeg);
    FuzzRuntime_WriteFile("GFX/tiles.jpg", file.data(), file.size());
}

bool Prepare() {
    FuzzRuntime_Start(true);
    WriteTilesets();
    Map_Init();
    Map_SetGraphicsPath("GFX\\");
    return true;
}

void DrawAt(float x, float y) {
    Map_SetScreenOrigin(0, 0);
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
    FuzzRuntime_WriteFile("Kavro.Map", data, size);
    if (Map_Load("Kavro.Map") <= 0) return 0;
    Map_FindTiles(253, 0);
    const float start_x = static_cast<float>(Map_FoundX(0) - 10) * 32.0f;
    const float start_y = static_cast<float>(Map_FoundY(0) - 8) * 32.0f;
    DrawAt(start_x, start_y);
    DrawAt(0.0f, 0.0f);
    DrawAt(static_cast<float>(Map_PixelWidth()), static_cast<float>(Map_PixelHeight()));
    DrawAt(-1000.0f, -1000.0f);
    return 0;
}

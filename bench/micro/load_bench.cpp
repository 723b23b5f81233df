// Microbenchmarks of loading: decoding the game's three embedded pictures and the level's
// tilesets through the decoder registry, and Map_Load of the shipped level with its tile
// cutting.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "embedded_images.h"
#include "game/map/map_engine.h"
#include "runtime/image/image_decoder.h"

namespace {

void Decode(benchmark::State& state, const uint8_t* data, int32_t size) {
    std::vector<uint8_t> buffer;
    int64_t pixels = 0;
    for (auto _ : state) {
        if (!ImageDecoder_OpenMemory(data, size)) {
            state.SkipWithError("no decoder accepts the picture");
            return;
        }
        const int32_t w = ImageDecoder_Width(), h = ImageDecoder_Height();
        const int32_t pitch = ImageDecoder_Depth() == 32 ? w * 4 : (w * 3 + 3) / 4 * 4;
        buffer.resize(static_cast<size_t>(pitch) * (h + 1));
        if (!ImageDecoder_Decode(buffer.data(), pitch, 0)) {
            state.SkipWithError("the picture does not decode");
            return;
        }
        pixels += static_cast<int64_t>(w) * h;
    }
    state.SetItemsProcessed(pixels);
}

void BM_DecodePlayerSheetBmp(benchmark::State& state) {
    Decode(state, kPlayerSheet, static_cast<int32_t>(kPlayerSheetSize));
}
void BM_DecodeBackgroundJpeg(benchmark::State& state) {
    Decode(state, kBackground, static_cast<int32_t>(kBackgroundSize));
}
void BM_DecodeCreatureSheetBmp(benchmark::State& state) {
    Decode(state, kCreatureSheet, static_cast<int32_t>(kCreatureSheetSize));
}
BENCHMARK(BM_DecodePlayerSheetBmp);
BENCHMARK(BM_DecodeBackgroundJpeg);
BENCHMARK(BM_DecodeCreatureSheetBmp);

// A tileset file of the run directory (the benchmarks run there).
void DecodeFile(benchmark::State& state, const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        state.SkipWithError("the tileset file is missing");
        return;
    }
    Decode(state, bytes.data(), static_cast<int32_t>(bytes.size()));
}
void BM_DecodeTilesetWorldPng(benchmark::State& state) {
    DecodeFile(state, "GFX/kavro_world.png");
}
void BM_DecodeTilesetItemsPng(benchmark::State& state) {
    DecodeFile(state, "GFX/kavro_items.png");
}
BENCHMARK(BM_DecodeTilesetWorldPng);
BENCHMARK(BM_DecodeTilesetItemsPng);

// The whole level load: the file, both tilesets decoded and cut into tile sprites and quads.
void BM_MapLoad(benchmark::State& state) {
    for (auto _ : state) {
        if (Map_Load("Kavro.Map") <= 0) {
            state.SkipWithError("Kavro.Map does not load");
            return;
        }
    }
}
BENCHMARK(BM_MapLoad)->Unit(benchmark::kMillisecond);

}  // namespace

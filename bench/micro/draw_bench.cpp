// Microbenchmarks of what a frame draws: the opaque background sprite, colour-keyed sprites,
// tile quads at full and half opacity, one display line and the frame's seven lines, and the
// present.
#include <benchmark/benchmark.h>

#include "bench/micro/micro_runtime.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprite.h"
#include "runtime/screen/sprite3d.h"

namespace {

constexpr int32_t kPlayer = 100;
constexpr int32_t kBackground = 0;
constexpr int32_t kCreature = 200;

// A backend may hold draws back until the frame needs its pixels; Micro_FinishDraws makes it
// draw them, so each iteration below pays for its pixels.

// The background as the game draws it: 1024 x 768, opaque, scrolled so that it covers the
// whole 640 x 480 screen.
void BM_SpriteOpaqueBackground(benchmark::State& state) {
    Sprite_Clip(kBackground, -1, -1, -1, -1);
    for (auto _ : state) {
        Sprite_Display(kBackground, -37, -50);
        Micro_FinishDraws();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_SpriteOpaqueBackground);

// A 64 x 64 part of the background: the fixed cost of one opaque draw shows here.
void BM_SpriteOpaqueSmall(benchmark::State& state) {
    Sprite_Clip(kBackground, 100, 100, 64, 64);
    int32_t x = 0;
    for (auto _ : state) {
        Sprite_Display(kBackground, x, 200);
        Micro_FinishDraws();
        x = (x + 64) % 576;
    }
    Sprite_Clip(kBackground, -1, -1, -1, -1);
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}
BENCHMARK(BM_SpriteOpaqueSmall);

// The player's 28 x 32 frame, black transparent, as the frame draws it at (320, 240).
void BM_SpriteKeyedPlayer(benchmark::State& state) {
    Sprite_Clip(kPlayer, 28, 0, 28, 32);
    for (auto _ : state) {
        Sprite_DisplayTransparent(kPlayer, 320, 240);
        Micro_FinishDraws();
    }
    state.SetItemsProcessed(state.iterations() * 28 * 32);
}
BENCHMARK(BM_SpriteKeyedPlayer);

// The whole 256 x 96 creature sheet, black transparent.
void BM_SpriteKeyedSheet(benchmark::State& state) {
    Sprite_Clip(kCreature, -1, -1, -1, -1);
    for (auto _ : state) {
        Sprite_DisplayTransparent(kCreature, 100, 100);
        Micro_FinishDraws();
    }
    state.SetItemsProcessed(state.iterations() * 256 * 96);
}
BENCHMARK(BM_SpriteKeyedSheet);

// Tile quads as Map_DrawLayer draws a full layer: 21 x 16 of them, one per cell of the grid
// the view shows, then the scene ends. Reported per quad.
constexpr int32_t kLayerQuads = 21 * 16;
void DrawLayer(int32_t quad, int32_t opacity) {
    Sprite3D_Start();
    for (int32_t i = 0; i < kLayerQuads; ++i)
        Sprite3D_Display(quad, (i % 21) * 32 - 7, (i / 21) * 32 - 5, opacity);
    Sprite3D_Stop();
}
void QuadLayer(benchmark::State& state, int32_t quad, int32_t opacity) {
    for (auto _ : state) {
        DrawLayer(quad, opacity);
        Micro_FinishDraws();
    }
    state.counters["per_quad"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kLayerQuads,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kLayerQuads * 32 * 32);
}
void BM_QuadStone255(benchmark::State& state) {
    QuadLayer(state, Micro_StoneQuad(), 255);
}
void BM_QuadGrass255(benchmark::State& state) {
    QuadLayer(state, Micro_GrassQuad(), 255);
}
void BM_QuadStone128(benchmark::State& state) {
    QuadLayer(state, Micro_StoneQuad(), 128);
}
void BM_QuadGrass128(benchmark::State& state) {
    QuadLayer(state, Micro_GrassQuad(), 128);
}
BENCHMARK(BM_QuadStone255);
BENCHMARK(BM_QuadGrass255);
BENCHMARK(BM_QuadStone128);
BENCHMARK(BM_QuadGrass128);

// The background, then a whole layer of opaque stone tiles over it, as a frame draws them. A
// backend that leaves out what later opaque draws cover pays for the tiles alone: compare with
// BM_QuadStone255 (the layer by itself) and BM_SpriteOpaqueBackground.
void BM_BackgroundUnderStoneLayer(benchmark::State& state) {
    Sprite_Clip(kBackground, -1, -1, -1, -1);
    for (auto _ : state) {
        Sprite_Display(kBackground, -37, -50);
        DrawLayer(Micro_StoneQuad(), 255);
        Micro_FinishDraws();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_BackgroundUnderStoneLayer);

// One display line ("SCORE 1200", white on black in the system font) on an open output.
void BM_DisplayLine(benchmark::State& state) {
    Drawing_Start(Screen_Output());
    for (auto _ : state) benchmark::DoNotOptimize(Drawing_Text(10, 10, "SCORE 1200"));
    Drawing_Stop();
    Screen_Flip();
}
BENCHMARK(BM_DisplayLine);

// The frame's whole text part: output, start, the seven lines, stop.
void BM_DisplayTexts(benchmark::State& state) {
    for (auto _ : state) {
        Drawing_Start(Screen_Output());
        Drawing_Text(500, 1, "DX 9 - FPS: 9999");
        Drawing_Text(10, 10, "SCORE 1200");
        Drawing_Text(10, 30, "1 Bonus  0");
        Drawing_Text(10, 50, "2 drunter1");
        Drawing_Text(10, 70, "2 Kopf   0");
        Drawing_Text(10, 100, "--> -1");
        Drawing_Text(10, 130, "--> 24");
        Drawing_Stop();
    }
    Screen_Flip();
}
BENCHMARK(BM_DisplayTexts);

// A present of the screen (headless: no picture is shown).
void BM_ScreenFlip(benchmark::State& state) {
    for (auto _ : state) Screen_Flip();
}
BENCHMARK(BM_ScreenFlip);

}  // namespace

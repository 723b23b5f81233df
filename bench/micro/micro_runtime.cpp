// Start-up and shutdown of the microbenchmarks' runtime.
#include "bench/micro/micro_runtime.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/self_path.h"
#include "embedded_images.h"
#include "game/map/map_engine.h"
#include "runtime/core/program.h"
#include "runtime/image/image_decoder.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprite.h"
#include "runtime/screen/sprite3d.h"

namespace {

int32_t g_stone_quad = -1;
int32_t g_grass_quad = -1;

// The first cell of layer 0, scanning rows from the top, whose attribute is `attribute` and
// that has a tile.
int32_t FirstTileWith(int32_t attribute) {
    for (int32_t y = 0; y <= Map_LastRow(); ++y)
        for (int32_t x = 0; x <= Map_LastColumn(); ++x)
            if (Map_CellAttribute(x, y, 0) == attribute && Map_CellTile(x, y, 0) >= 0)
                return kTileQuadBase + Map_CellTile(x, y, 0);
    return -1;
}

}  // namespace

bool Micro_Start() {
    // The run directory where the build put it relative to this program.
    const std::string run_dir = Bench_BesideSelf(KAVRO_BENCH_RUN_DIR);
    if (chdir(run_dir.c_str()) != 0) {
        std::fprintf(stderr, "kavro_micro_bench: no run directory %s\n", run_dir.c_str());
        return false;
    }
    // Measured headless, as the frame benchmark runs the deliverables, unless told otherwise.
    setenv("KAVRO_HEADLESS", "1", 0);
    Program_Start();
    if (!Sprite_Init() || !Sprite3D_Init() ||
        !Screen_Open(640, 480, 32, "Kavro microbenchmarks", 0)) {
        std::fprintf(stderr, "kavro_micro_bench: the screen cannot be opened\n");
        return false;
    }
    ImageDecoder_UsePng();
    ImageDecoder_UseJpeg();
    if (!Sprite_CreateFromMemory(100, kPlayerSheet, static_cast<int32_t>(kPlayerSheetSize)) ||
        !Sprite_CreateFromMemory(0, kBackground, static_cast<int32_t>(kBackgroundSize)) ||
        !Sprite_CreateFromMemory(200, kCreatureSheet, static_cast<int32_t>(kCreatureSheetSize))) {
        std::fprintf(stderr, "kavro_micro_bench: the game's pictures do not decode\n");
        return false;
    }
    Map_Init();
    Map_SetGraphicsPath("GFX\\");
    if (Map_Load("Kavro.Map") <= 0) {
        std::fprintf(stderr, "kavro_micro_bench: Kavro.Map does not load\n");
        return false;
    }
    // Stone is solid ground deep in the level; the first platform cell is grass with sky above.
    g_stone_quad = kTileQuadBase + Map_CellTile(0, Map_LastRow(), 0);
    g_grass_quad = FirstTileWith(2);
    if (g_grass_quad < 0) g_grass_quad = FirstTileWith(1);
    return true;
}

void Micro_End() {
    Program_End();
}

int32_t Micro_StoneQuad() {
    return g_stone_quad;
}
int32_t Micro_GrassQuad() {
    return g_grass_quad;
}

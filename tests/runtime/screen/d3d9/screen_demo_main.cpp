// A small program on the Direct3D 9 screen library, run by the tests as a real process: it opens
// the full screen, draws a background, tile quads and a transparent sprite, and flips.
//   screen_demo FRAMES [READY_FILE HOLD_MS]
// After the last frame it creates READY_FILE and keeps presenting the same picture for HOLD_MS
// milliseconds, so that a test can look at the display meanwhile.
#include <cstdio>
#include <cstdlib>

#include "platform/win32/time.h"
#include "runtime/core/program.h"
#include "runtime/core/requester.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/d3d9/sprite3d.h"
#include "tests/runtime/screen/d3d9/screen_demo_picture.h"
#include "tests/support/image_builders.h"

namespace {

Bytes Bmp(int32_t w, int32_t h, uint32_t (*colour)(int32_t, int32_t)) {
    BmpImage image;
    image.width = w;
    image.height = h;
    for (int32_t y = 0; y < h; ++y) {
        Bytes row;
        for (int32_t x = 0; x < w; ++x) {
            uint32_t c = colour(x, y);
            row.insert(row.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
        }
        image.rows.push_back(row);
    }
    return EncodeBmp(image);
}

SpriteId Make(int32_t number, const Bytes& file) {
    return Sprite_CreateFromMemory(number, file.data(), static_cast<int32_t>(file.size()));
}

void DrawFrame() {
    Sprite_Display(0, 0, 0);
    Sprite3D_Start();
    for (int i = 0; i < kDemoTiles; ++i)
        Sprite3D_Display(1000, kDemoTileX + 32 * i, kDemoTileY, 255);
    Sprite3D_Display(1000, kDemoHalfTileX, kDemoHalfTileY, 128);
    Sprite3D_Stop();
    Sprite_DisplayTransparent(2, kDemoSpriteX, kDemoSpriteY);
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 3;
    const char* ready = argc > 2 ? argv[2] : nullptr;
    DWORD hold = argc > 3 ? static_cast<DWORD>(std::atoi(argv[3])) : 0;
    Program_Start();
    if (!Sprite_Init() || !Sprite3D_Init()) {
        Requester_Message("Screen demo", "No Direct3D 9", 16);
        Program_End();
    }
    if (!Screen_Open(640, 480, 32, "Kavro screen demo", 0)) {
        Requester_Message("Screen demo", "The screen does not open", 16);
        Program_End();
    }
    Make(0, Bmp(640, 480, &DemoBackground));
    Make(2, Bmp(kDemoSpriteSize, kDemoSpriteSize, &DemoSprite));
    // The tile: drawn once, grabbed in texture mode, made a quad (as the map engine does).
    Make(1, Bmp(32, 32, [](int32_t, int32_t) { return kDemoTileColour; }));
    Sprite_Display(1, 0, 0);
    Sprite_Grab(1000, 0, 0, 32, 32, 4);
    Sprite3D_Create(1000, 1000);
    for (int i = 0; i < frames; ++i) {
        DrawFrame();
        Screen_Flip();
    }
    if (ready) {
        if (std::FILE* f = std::fopen(ready, "w")) std::fclose(f);
        DWORD start = GetTickCount();
        while (GetTickCount() - start < hold) {
            DrawFrame();
            Screen_Flip();
            Sleep(10);
        }
    }
    Program_End();
}

// Fuzz target: image files through Sprite_Load, which hands them to every registered decoder
// (BMP, PNG, JPEG) and converts the picture into a texture. The input is written to a file; the
// creation mode (0, texture 4, texture with alpha 12, or the refused 2) follows the input's
// length. A loaded sprite is clipped, drawn both ways and, in texture mode, made a quad and drawn.
#include <cstddef>
#include <cstdint>

#include "runtime/screen/sprite.h"
#include "runtime/screen/sprite3d.h"
#include "tests/fuzz/fuzz_runtime.h"

namespace {

constexpr int32_t kModes[] = {0, 4, 12, 2};
constexpr int32_t kQuad = 9;

bool Prepare() {
    FuzzRuntime_Start(true);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = Prepare();
    (void)ready;
    FuzzRuntime_WriteFile("picture", data, size);
    const int32_t mode = kModes[size % 4];
    SpriteId sprite = Sprite_Load(-1, "picture", mode);
    if (!sprite) return 0;
    const int32_t number = static_cast<int32_t>(sprite);
    Sprite_Display(number, 3, 5);
    Sprite_Clip(number, 1, 1, Sprite_Width(number) / 2, Sprite_Height(number) / 2);
    Sprite_DisplayTransparent(number, -2, 7);
    if (Sprite3D_Create(kQuad, number)) {
        Sprite3D_Start();
        Sprite3D_Display(kQuad, 10, 10, 128);
        Sprite3D_Stop();
        Sprite3D_Free(kQuad);
    }
    Sprite_Free(number);
    return 0;
}

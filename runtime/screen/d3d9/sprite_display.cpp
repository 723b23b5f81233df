// Drawing sprites: the clip rectangle and the opaque and transparent displays, each a
// screen-aligned quad of the clip size at a half-pixel offset.
#include <cstring>

#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/d3d9/sprite3d.h"

namespace {

struct SpriteVertex {
    float x, y, z, rhw, u, v;
};
static_assert(sizeof(SpriteVertex) == 24);

constexpr int32_t kFvfSprite = 0x104;  // XYZRHW | TEX1

void Draw(int32_t number, int32_t x, int32_t y, bool transparent) {
    SpriteRecord* sprite = Sprite_Record(number);
    if (!sprite || !Screen_BeginScene()) return;
    if (Sprite3D_State().quadStatesActive) Sprite3D_DropQuadStates();
    ScreenState& s = Screen_State();
    // Right and bottom edges are exclusive: touching the target is not intersecting it.
    int64_t left = x, top = y;
    int64_t right = left + sprite->width, bottom = top + sprite->height;
    if (left >= s.width || top >= s.height || right <= 0 || bottom <= 0 || right <= left ||
        bottom <= top) {
        return;
    }
    Screen_CacheAlphaBlend(1);
    Screen_CacheSrcBlend(transparent ? D3DBLEND_SRCALPHA : D3DBLEND_ONE);
    Screen_CacheDestBlend(transparent ? D3DBLEND_INVSRCALPHA : D3DBLEND_ZERO);
    if (!Screen_CacheFvf(kFvfSprite)) return;
    const float* tc = sprite->texCoords;
    float l = static_cast<float>(left) - 0.5f, r = static_cast<float>(right) - 0.5f;
    float t = static_cast<float>(top) - 0.5f, b = static_cast<float>(bottom) - 0.5f;
    const SpriteVertex quad[4] = {{l, t, 0, 1, tc[0], tc[1]},
                                  {r, t, 0, 1, tc[2], tc[3]},
                                  {l, b, 0, 1, tc[4], tc[5]},
                                  {r, b, 0, 1, tc[6], tc[7]}};
    s.device->SetTexture(0, sprite->texture->d3dTexture);
    s.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SpriteVertex));
}

}  // namespace

void Sprite_Clip(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h) {
    SpriteRecord* sprite = Sprite_Record(number);
    if (!sprite) return;
    const int32_t W = sprite->imageWidth, H = sprite->imageHeight;
    if (x == -1 && y == -1 && w == -1 && h == -1) {
        x = y = 0;
        w = W;
        h = H;
    }
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    if (w < 0) w = 0;
    if (h < 0) h = 0;
    if (x > W) x = W;
    if (y > H) y = H;
    if (int64_t{x} + w > W) w = W - x;
    if (int64_t{y} + h > H) h = H - y;
    sprite->clipX = x;
    sprite->clipY = y;
    sprite->width = w;
    sprite->height = h;
    const float fw = static_cast<float>(W), fh = static_cast<float>(H);
    const float u_left = static_cast<float>(x) / fw, v_top = static_cast<float>(y) / fh;
    const float u_right = static_cast<float>(x + w) / fw, v_bottom = static_cast<float>(y + h) / fh;
    const float coords[8] = {u_left, v_top, u_right, v_top, u_left, v_bottom, u_right, v_bottom};
    std::memcpy(sprite->texCoords, coords, sizeof(coords));
}

void Sprite_Display(int32_t number, int32_t x, int32_t y) {
    Draw(number, x, y, false);
}

void Sprite_DisplayTransparent(int32_t number, int32_t x, int32_t y) {
    Draw(number, x, y, true);
}

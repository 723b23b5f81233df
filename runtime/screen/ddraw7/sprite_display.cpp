// Drawing sprites on DirectDraw 7: the clip rectangle, and the opaque and transparent displays,
// each one BltFast of the visible part of the clip, cut to the render target here rather than
// by the device.
#include <cstdint>

#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"

namespace {

constexpr DWORD kOpaque = DDBLTFAST_WAIT;                               // 0x10
constexpr DWORD kTransparent = DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT;  // 0x11

// Clip values are kept in 16 bits; values beyond that stop at its ends.
int16_t Short(int64_t v) {
    if (v > INT16_MAX) return INT16_MAX;
    if (v < INT16_MIN) return INT16_MIN;
    return static_cast<int16_t>(v);
}

void Draw(int32_t number, int32_t x, int32_t y, DWORD flags) {
    ScreenState& s = Screen_State();
    SpriteRecord* sprite = Sprite_Record(number);
    if (!sprite || !s.screenOpen || !s.active || !s.renderSurface) return;
    IDirectDrawSurface7* surface = Sprite_Surface(sprite);
    if (!surface) return;
    RECT source;
    int32_t tx = 0, ty = 0;
    if (!Sprite_BlitArea(x, y, sprite->width, sprite->height, sprite->clipX, sprite->clipY, s.width,
                         s.height, &source, &tx, &ty)) {
        return;
    }
    // A clip outside the image gives a source rectangle outside the surface, which the blit
    // refuses without drawing.
    s.renderSurface->BltFast(static_cast<DWORD>(tx), static_cast<DWORD>(ty), surface, &source,
                             flags);
}

}  // namespace

bool Sprite_BlitArea(int32_t x, int32_t y, int32_t width, int32_t height, int32_t clipX,
                     int32_t clipY, int32_t targetWidth, int32_t targetHeight, RECT* source,
                     int32_t* targetX, int32_t* targetY) {
    const int64_t X = x, Y = y, w = width, h = height, W = targetWidth, H = targetHeight;
    if (!(X < W && Y < H && X > -w && Y > -h)) return false;
    const int64_t left = clipX + (X < 0 ? -X : 0);
    const int64_t top = clipY + (Y < 0 ? -Y : 0);
    const int64_t right = clipX + (X + w > W ? W - X : w);
    const int64_t bottom = clipY + (Y + h > H ? H - Y : h);
    *source = RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                   static_cast<LONG>(bottom)};
    *targetX = x < 0 ? 0 : x;
    *targetY = y < 0 ? 0 : y;
    return true;
}

void Sprite_Clip(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h) {
    SpriteRecord* sprite = Sprite_Record(number);
    if (!sprite) return;
    const int64_t W = sprite->imageWidth, H = sprite->imageHeight;
    if (x == -1 && y == -1 && w == -1 && h == -1) {
        sprite->clipX = sprite->clipY = 0;
        sprite->width = sprite->imageWidth;
        sprite->height = sprite->imageHeight;
        return;
    }
    // No clamping: callers pass rectangles inside the image (one outside is not drawn).
    sprite->clipX = Short(x);
    sprite->clipY = Short(y);
    sprite->width = Short(int64_t{x} + w > W ? W - x : w);
    sprite->height = Short(int64_t{y} + h > H ? H - y : h);
}

void Sprite_Display(int32_t number, int32_t x, int32_t y) {
    Draw(number, x, y, kOpaque);
}

void Sprite_DisplayTransparent(int32_t number, int32_t x, int32_t y) {
    Draw(number, x, y, kTransparent);
}

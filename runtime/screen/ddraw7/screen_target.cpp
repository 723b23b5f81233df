// Screen_SetRenderTarget on DirectDraw 7: where sprite displays blit and grabs read, the back
// buffer or a sprite's surface. Nothing is copied: blits go straight into the target surface.
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/screen.h"

int32_t Screen_SetRenderTarget(int32_t number) {
    ScreenState& s = Screen_State();
    if (number == -1) {
        if (!s.backBuffer) return 0;
        s.renderSurface = s.backBuffer;
        s.renderTarget = -1;
        s.width = s.screenWidth;
        s.height = s.screenHeight;
        return 1;
    }
    SpriteRecord* sprite = Sprite_Record(number);
    IDirectDrawSurface7* surface = sprite ? Sprite_Surface(sprite) : nullptr;
    if (!surface) return 0;
    s.renderSurface = surface;
    s.renderTarget = number;
    s.width = sprite->imageWidth;
    s.height = sprite->imageHeight;
    return 1;
}

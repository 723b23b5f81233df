// Creating sprites on DirectDraw 7 from image files held in memory or read from disk: a surface
// in the screen's format (or a memory block for mode 2), the decoded rows converted into the
// surface's pixel format, black as the source colour key.
#include "platform/win32/heap.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/sprite_image.h"
#include "runtime/screen/sprite_table.h"

namespace {

constexpr int32_t kMemoryMode = 2;
constexpr int32_t kSystemMemoryMode = 1;

// The row format of a locked surface: 32-bit, 5-5-5 by a 16-bit green mask other than 5-6-5's,
// else 5-6-5 (as for any other depth).
SpritePixelFormat FormatOf(const DDPIXELFORMAT& f) {
    if (f.dwRGBBitCount == 32) return SpritePixelFormat::kArgb8888;
    if (f.dwRGBBitCount == 16 && f.dwGBitMask != 0x7E0) return SpritePixelFormat::kArgb1555;
    return SpritePixelFormat::kRgb565;
}

}  // namespace

bool Sprite_InitRecord(SpriteRecord* sprite, int32_t width, int32_t height, int32_t depth,
                       int32_t mode) {
    ScreenState& s = Screen_State();
    // Sizes are kept in 16 bits.
    if (width <= 0 || height <= 0 || width > INT16_MAX || height > INT16_MAX) return false;
    *sprite = SpriteRecord{};
    sprite->width = sprite->imageWidth = static_cast<int16_t>(width);
    sprite->height = sprite->imageHeight = static_cast<int16_t>(height);
    sprite->mode = static_cast<int16_t>(mode);
    if (mode == kMemoryMode) {
        sprite->memoryBlock = static_cast<uint8_t*>(
            HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY,
                      static_cast<SIZE_T>(width) * static_cast<SIZE_T>(height)));
        sprite->depth = kMemorySpriteDepth;
        return sprite->memoryBlock != nullptr;
    }
    const int32_t screen_depth = s.screenOpen ? s.depth : 0;
    if (depth != 0 && depth != screen_depth && (depth < 16 || screen_depth < 16)) return false;
    if (!s.directDraw) return false;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = (mode & kSpriteTextureMode) ? DDSCAPS_TEXTURE
                          : mode == kSystemMemoryMode
                              ? DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY
                              : DDSCAPS_OFFSCREENPLAIN;
    if (mode & kSpriteAlphaChannel) {
        desc.dwFlags |= DDSD_PIXELFORMAT;
        desc.ddpfPixelFormat = DDPIXELFORMAT{sizeof(DDPIXELFORMAT),
                                             DDPF_RGB | DDPF_ALPHAPIXELS,
                                             0,
                                             32,
                                             0xFF0000,
                                             0xFF00,
                                             0xFF,
                                             0xFF000000};
    }
    IDirectDrawSurface7* surface = nullptr;
    if (s.directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) return false;
    sprite->surface = surface;
    sprite->depth = static_cast<int16_t>(depth);
    return true;
}

SpriteId Sprite_CreateFromImage(int32_t number, const void* image, int32_t size, int32_t mode) {
    ScreenState& s = Screen_State();
    if (!s.sprites || !image || size <= 0) return 0;
    int32_t dynamic_number = -1;
    auto* sprite =
        static_cast<SpriteRecord*>(ObjectTable_Allocate(s.sprites, number, &dynamic_number));
    if (!sprite) return 0;
    const int32_t id = SpriteTable_Number(number, dynamic_number);
    SpriteImage decoded{};
    if (!SpriteImage_Open(image, size, &decoded)) {
        ObjectTable_Release(s.sprites, id);
        return 0;
    }
    SpriteId result = 0;
    if (!SpriteImage_Decode(decoded) ||
        !Sprite_InitRecord(sprite, decoded.width, decoded.height, decoded.depth, mode)) {
        ObjectTable_Release(s.sprites, id);
    } else if (mode != kMemoryMode) {
        // A memory sprite keeps its block and reports 0 like a refusal.
        if ((mode & kSpriteAlphaChannel) && decoded.depth < 32) {
            sprite->mode &= ~kSpriteAlphaChannel;
        }
        const bool keep_alpha = (sprite->mode & kSpriteAlphaChannel) != 0;
        DDSURFACEDESC2 locked{};
        locked.dwSize = sizeof(locked);
        if (sprite->surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) == DD_OK) {
            const SpritePixelFormat format = FormatOf(locked.ddpfPixelFormat);
            // Only the 32-bit surfaces made for mode flag 8 hold alpha; 16-bit ones have no
            // alpha bit.
            SpriteImage_ConvertRows(decoded, keep_alpha && format == SpritePixelFormat::kArgb8888,
                                    format, locked.lpSurface, locked.lPitch, decoded.width,
                                    decoded.height);
            sprite->surface->Unlock(nullptr);
        }
        // Pure black is transparent in every format.
        if (!keep_alpha) {
            DDCOLORKEY black{0, 0};
            sprite->surface->SetColorKey(DDCKEY_SRCBLT, &black);
        }
        result = SpriteTable_Id(number, dynamic_number, sprite->surface);
    }
    SpriteImage_Free(&decoded);
    return result;
}

SpriteId Sprite_CreateFromMemory(int32_t number, const void* image, int32_t size) {
    return Sprite_CreateFromImage(number, image, size, 0);
}

SpriteId Sprite_Load(int32_t number, const char* name, int32_t mode) {
    return SpriteImage_LoadFile(number, name, mode, &Sprite_CreateFromImage);
}

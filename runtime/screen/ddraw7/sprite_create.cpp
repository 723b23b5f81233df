// Creating sprites on DirectDraw 7 from image files held in memory or read from disk: decoding
// through the decoder registry, a surface in the screen's format (or a memory block for mode 2),
// rows converted into the surface's pixel format, black as the source colour key.
#include <cstring>

#include "platform/win32/file.h"
#include "platform/win32/heap.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"
#include "runtime/image/image_decoder.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"

namespace {

// Image files larger than this are not read into memory.
constexpr DWORD kMaxFileBytes = 256u << 20;
constexpr int32_t kMemoryMode = 2;
constexpr int32_t kSystemMemoryMode = 1;

// Image rows (blue, green, red[, alpha], top row first) into the locked surface's rows.
void ConvertRows(const uint8_t* image, int32_t image_pitch, int32_t image_depth, bool keep_alpha,
                 int32_t width, int32_t height, const DDSURFACEDESC2& locked) {
    const int32_t step = image_depth == 32 ? 4 : 3;
    const DDPIXELFORMAT& f = locked.ddpfPixelFormat;
    const bool five_five_five = f.dwRGBBitCount == 16 && f.dwGBitMask != 0x7E0;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* s = image + static_cast<int64_t>(y) * image_pitch;
        uint8_t* row =
            static_cast<uint8_t*>(locked.lpSurface) + static_cast<int64_t>(y) * locked.lPitch;
        if (f.dwRGBBitCount == 32) {
            for (int32_t x = 0; x < width; ++x, s += step, row += 4) {
                row[0] = s[0];
                row[1] = s[1];
                row[2] = s[2];
                row[3] = keep_alpha ? s[3] : 0;
            }
        } else if (five_five_five) {
            auto* d = reinterpret_cast<uint16_t*>(row);
            for (int32_t x = 0; x < width; ++x, s += step) {
                d[x] = static_cast<uint16_t>(((s[2] & 0xF8u) << 7) + ((s[1] & 0xF8u) << 2) +
                                             (s[0] >> 3));
            }
        } else {
            auto* d = reinterpret_cast<uint16_t*>(row);
            for (int32_t x = 0; x < width; ++x, s += step) {
                d[x] = static_cast<uint16_t>(((s[2] & 0xF8u) << 8) + ((s[1] & 0xFCu) << 3) +
                                             (s[0] >> 3));
            }
        }
    }
}

SpriteId Identify(int32_t number, int32_t dynamic_number, const SpriteRecord* sprite) {
    return number == -1 ? static_cast<SpriteId>(dynamic_number)
                        : reinterpret_cast<SpriteId>(sprite->surface);
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
    // 1.
    int32_t dynamic_number = -1;
    auto* sprite =
        static_cast<SpriteRecord*>(ObjectTable_Allocate(s.sprites, number, &dynamic_number));
    if (!sprite) return 0;
    const int32_t id = number == -1 ? dynamic_number : number;
    if (!ImageDecoder_OpenMemory(image, size)) {
        ObjectTable_Release(s.sprites, id);
        return 0;
    }
    const int32_t width = ImageDecoder_Width();
    const int32_t height = ImageDecoder_Height();
    const int32_t depth = ImageDecoder_Depth() == 32 ? 32 : 24;
    const int64_t pitch = depth == 32 ? int64_t{width} * 4 : int64_t{width} * 3 + (width & 3);
    // Zeroed, so rows a decoder leaves untouched read as black rather than old memory.
    auto* pixels = static_cast<uint8_t*>(
        width > 0 && height > 0 ? HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY,
                                            static_cast<SIZE_T>(pitch * (int64_t{height} + 1)))
                                : nullptr);
    if (!pixels) {
        ImageDecoder_Close();
        ObjectTable_Release(s.sprites, id);
        return 0;
    }
    SpriteId result = 0;
    // 2.
    if (!ImageDecoder_Decode(pixels, static_cast<int32_t>(pitch), 0) ||
        !Sprite_InitRecord(sprite, width, height, depth, mode)) {
        ObjectTable_Release(s.sprites, id);
    } else if (mode != kMemoryMode) {
        // 3. A memory sprite keeps its block and reports 0 like a refusal.
        if ((mode & kSpriteAlphaChannel) && depth < 32) sprite->mode &= ~kSpriteAlphaChannel;
        const bool keep_alpha = (sprite->mode & kSpriteAlphaChannel) != 0;
        DDSURFACEDESC2 locked{};
        locked.dwSize = sizeof(locked);
        if (sprite->surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) == DD_OK) {
            ConvertRows(pixels, static_cast<int32_t>(pitch), depth, keep_alpha, width, height,
                        locked);
            sprite->surface->Unlock(nullptr);
        }
        // 4. Pure black is transparent in every format.
        if (!keep_alpha) {
            DDCOLORKEY black{0, 0};
            sprite->surface->SetColorKey(DDCKEY_SRCBLT, &black);
        }
        result = Identify(number, dynamic_number, sprite);
    }
    // 5.
    HeapFree(Runtime_Heap(), 0, pixels);
    return result;
}

SpriteId Sprite_CreateFromMemory(int32_t number, const void* image, int32_t size) {
    return Sprite_CreateFromImage(number, image, size, 0);
}

SpriteId Sprite_Load(int32_t number, const char* name, int32_t mode) {
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    SpriteId result = 0;
    if (high == 0 && size != INVALID_FILE_SIZE && size > 0 && size <= kMaxFileBytes) {
        void* data = HeapAlloc(Runtime_Heap(), 0, size);
        DWORD read = 0;
        // The decoders are told the real length, so a short or hostile file is never read
        // past its end.
        if (data && ReadFile(file, data, size, &read, nullptr) && read == size) {
            result = Sprite_CreateFromImage(number, data, static_cast<int32_t>(size), mode);
        }
        if (data) HeapFree(Runtime_Heap(), 0, data);
    }
    CloseHandle(file);
    return result;
}

// Creating sprites from image files held in memory or read from disk: decoding through the
// decoder registry, converting rows into the texture's format, deriving alpha from the
// transparent colour.
#include <cstring>

#include "platform/win32/file.h"
#include "platform/win32/heap.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"
#include "runtime/image/image_decoder.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"

namespace {

// Image files larger than this are not read into memory.
constexpr DWORD kMaxFileBytes = 256u << 20;

// Image rows (blue, green, red[, alpha], top row first) into texture rows.
void ConvertRows(const uint8_t* image, int32_t image_pitch, int32_t image_depth, bool keep_alpha,
                 TextureRecord* t, const D3DLOCKED_RECT& locked) {
    const int32_t step = image_depth == 32 ? 4 : 3;
    for (int32_t y = 0; y < t->height; ++y) {
        const uint8_t* s = image + static_cast<int64_t>(y) * image_pitch;
        uint8_t* row = static_cast<uint8_t*>(locked.pBits) + static_cast<int64_t>(y) * locked.Pitch;
        if (t->kind == 3) {
            auto* d = reinterpret_cast<uint32_t*>(row);
            for (int32_t x = 0; x < t->width; ++x, s += step) {
                uint32_t alpha = keep_alpha ? s[3] : 0;
                d[x] = (alpha << 24) | (uint32_t{s[2]} << 16) | (uint32_t{s[1]} << 8) | s[0];
            }
        } else {
            auto* d = reinterpret_cast<uint16_t*>(row);
            for (int32_t x = 0; x < t->width; ++x, s += step) {
                // The one alpha bit keeps the image's alpha when asked, else it starts clear.
                uint32_t alpha = keep_alpha && s[3] >= 128 ? 0x8000u : 0u;
                d[x] = static_cast<uint16_t>(alpha | ((s[2] & 0xF8u) << 7) | ((s[1] & 0xF8u) << 2) |
                                             (s[0] >> 3));
            }
        }
    }
}

SpriteId Identify(int32_t number, int32_t dynamic_number, SpriteRecord* record) {
    return number == -1 ? static_cast<SpriteId>(dynamic_number)
                        : reinterpret_cast<SpriteId>(record);
}

// Gives up a slot that got no sprite (for a dynamic number this frees its block).
void Abandon(int32_t number, int32_t dynamic_number) {
    ObjectTable_Release(Screen_State().sprites, number == -1 ? dynamic_number : number);
}

}  // namespace

bool Sprite_InitRecord(SpriteRecord* sprite, int32_t width, int32_t height, int32_t depth,
                       int32_t mode) {
    if ((mode & kSpriteAlphaChannel) && !(mode & kSpriteTextureMode)) return false;
    TextureRecord* t = TextureRecord_Create(width, height, depth, mode);
    if (!t) return false;
    *sprite = SpriteRecord{};
    sprite->texture = t;
    sprite->width = sprite->imageWidth = width;
    sprite->height = sprite->imageHeight = height;
    sprite->depth = t->kind == 3 ? 32 : 16;
    sprite->mode = mode;
    const float coords[8] = {0, 0, 1, 0, 0, 1, 1, 1};
    std::memcpy(sprite->texCoords, coords, sizeof(coords));
    return true;
}

SpriteId Sprite_CreateFromImage(int32_t number, const void* image, int32_t size, int32_t mode) {
    ScreenState& s = Screen_State();
    if (!s.sprites || !image || size <= 0) return 0;
    int32_t dynamic_number = -1;
    auto* sprite =
        static_cast<SpriteRecord*>(ObjectTable_Allocate(s.sprites, number, &dynamic_number));
    if (!sprite) return 0;
    // Mode 2 is refused before anything is made, so no empty sprite is left behind.
    if (mode == 2 || !ImageDecoder_OpenMemory(image, size)) {
        Abandon(number, dynamic_number);
        return 0;
    }
    int32_t width = ImageDecoder_Width();
    int32_t height = ImageDecoder_Height();
    int32_t depth = ImageDecoder_Depth() == 32 ? 32 : 24;
    int64_t pitch = depth == 32 ? int64_t{width} * 4 : int64_t{width} * 3 + (width & 3);
    // Zeroed, so rows a decoder leaves untouched read as black rather than old memory.
    auto* pixels = static_cast<uint8_t*>(
        width > 0 && height > 0 ? HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY,
                                            static_cast<SIZE_T>(pitch * (int64_t{height} + 1)))
                                : nullptr);
    if (!pixels) {
        ImageDecoder_Close();
        Abandon(number, dynamic_number);
        return 0;
    }
    SpriteId result = 0;
    int32_t texture_depth = s.depth <= 16 ? 16 : 32;
    if (ImageDecoder_Decode(pixels, static_cast<int32_t>(pitch), 0) &&
        Sprite_InitRecord(sprite, width, height, texture_depth, mode)) {
        if ((mode & kSpriteAlphaChannel) && depth < 32) sprite->mode &= ~kSpriteAlphaChannel;
        bool keep_alpha = (sprite->mode & kSpriteAlphaChannel) != 0;
        TextureRecord* t = sprite->texture;
        D3DLOCKED_RECT locked;
        if (t->d3dTexture->LockRect(0, &locked, nullptr, 0) == D3D_OK) {
            ConvertRows(pixels, static_cast<int32_t>(pitch), depth, keep_alpha, t, locked);
            t->d3dTexture->UnlockRect(0);
        }
        if (!keep_alpha) Sprite_SetTransparentColor(t, kSpriteTransparentColor);
        result = Identify(number, dynamic_number, sprite);
    } else {
        Abandon(number, dynamic_number);
    }
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

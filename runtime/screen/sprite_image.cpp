// Image files into sprite pixels: reading, decoding, and the row conversion of each format.
#include "runtime/screen/sprite_image.h"

#include "platform/win32/file.h"
#include "platform/win32/heap.h"
#include "runtime/core/program.h"
#include "runtime/image/image_decoder.h"

namespace {

// Image files larger than this are not read into memory.
constexpr DWORD kMaxFileBytes = 256u << 20;

void ConvertArgb8888(const SpriteImage& image, bool keep_alpha, uint8_t* target,
                     int32_t target_pitch, int32_t width, int32_t height) {
    const int32_t step = image.depth == 32 ? 4 : 3;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* s = image.pixels + static_cast<int64_t>(y) * image.pitch;
        auto* d = reinterpret_cast<uint32_t*>(target + static_cast<int64_t>(y) * target_pitch);
        for (int32_t x = 0; x < width; ++x, s += step) {
            uint32_t alpha = keep_alpha ? s[3] : 0;
            d[x] = (alpha << 24) | (uint32_t{s[2]} << 16) | (uint32_t{s[1]} << 8) | s[0];
        }
    }
}

void ConvertArgb1555(const SpriteImage& image, bool keep_alpha, uint8_t* target,
                     int32_t target_pitch, int32_t width, int32_t height) {
    const int32_t step = image.depth == 32 ? 4 : 3;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* s = image.pixels + static_cast<int64_t>(y) * image.pitch;
        auto* d = reinterpret_cast<uint16_t*>(target + static_cast<int64_t>(y) * target_pitch);
        for (int32_t x = 0; x < width; ++x, s += step) {
            uint32_t alpha = keep_alpha && s[3] >= 128 ? 0x8000u : 0u;
            d[x] = static_cast<uint16_t>(alpha | ((s[2] & 0xF8u) << 7) | ((s[1] & 0xF8u) << 2) |
                                         (s[0] >> 3));
        }
    }
}

void ConvertRgb565(const SpriteImage& image, uint8_t* target, int32_t target_pitch, int32_t width,
                   int32_t height) {
    const int32_t step = image.depth == 32 ? 4 : 3;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* s = image.pixels + static_cast<int64_t>(y) * image.pitch;
        auto* d = reinterpret_cast<uint16_t*>(target + static_cast<int64_t>(y) * target_pitch);
        for (int32_t x = 0; x < width; ++x, s += step) {
            d[x] =
                static_cast<uint16_t>(((s[2] & 0xF8u) << 8) | ((s[1] & 0xFCu) << 3) | (s[0] >> 3));
        }
    }
}

}  // namespace

SpriteId SpriteImage_LoadFile(int32_t number, const char* name, int32_t mode,
                              SpriteImageCreate create) {
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    SpriteId result = 0;
    if (high == 0 && size != INVALID_FILE_SIZE && size > 0 && size <= kMaxFileBytes) {
        void* data = HeapAlloc(Runtime_Heap(), 0, size);
        DWORD read = 0;
        if (data && ReadFile(file, data, size, &read, nullptr) && read == size) {
            result = create(number, data, static_cast<int32_t>(size), mode);
        }
        if (data) HeapFree(Runtime_Heap(), 0, data);
    }
    CloseHandle(file);
    return result;
}

bool SpriteImage_Open(const void* image, int32_t size, SpriteImage* decoded) {
    *decoded = SpriteImage{};
    if (!ImageDecoder_OpenMemory(image, size)) return false;
    const int32_t width = ImageDecoder_Width();
    const int32_t height = ImageDecoder_Height();
    const int32_t depth = ImageDecoder_Depth() == 32 ? 32 : 24;
    const int64_t pitch = depth == 32 ? int64_t{width} * 4 : int64_t{width} * 3 + (width & 3);
    auto* pixels = static_cast<uint8_t*>(
        width > 0 && height > 0 ? HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY,
                                            static_cast<SIZE_T>(pitch * (int64_t{height} + 1)))
                                : nullptr);
    if (!pixels) {
        ImageDecoder_Close();
        return false;
    }
    *decoded = SpriteImage{pixels, width, height, depth, static_cast<int32_t>(pitch)};
    return true;
}

bool SpriteImage_Decode(const SpriteImage& decoded) {
    return ImageDecoder_Decode(decoded.pixels, decoded.pitch, 0) != 0;
}

void SpriteImage_Free(SpriteImage* decoded) {
    if (decoded->pixels) HeapFree(Runtime_Heap(), 0, decoded->pixels);
    decoded->pixels = nullptr;
}

void SpriteImage_ConvertRows(const SpriteImage& decoded, bool keepAlpha, SpritePixelFormat format,
                             void* target, int32_t targetPitch, int32_t width, int32_t height) {
    auto* rows = static_cast<uint8_t*>(target);
    switch (format) {
        case SpritePixelFormat::kArgb8888:
            ConvertArgb8888(decoded, keepAlpha, rows, targetPitch, width, height);
            break;
        case SpritePixelFormat::kArgb1555:
            ConvertArgb1555(decoded, keepAlpha, rows, targetPitch, width, height);
            break;
        case SpritePixelFormat::kRgb565:
            ConvertRgb565(decoded, rows, targetPitch, width, height);
            break;
    }
}

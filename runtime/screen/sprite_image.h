// Image files as both screen backends make sprites from them: reading a file whole, decoding it
// through the decoder registry into blue, green, red[, alpha] rows, and converting those rows
// into a sprite's pixel format. What the pixels go into (a texture, a surface) stays with the
// backend.
#pragma once
#include <cstdint>

#include "runtime/screen/sprite.h"

// A decoded image: rows top first, `depth` 32 (with alpha) or 24, in a zeroed block on the
// runtime heap so rows a decoder leaves untouched read as black rather than old memory.
struct SpriteImage {
    uint8_t* pixels;
    int32_t width, height;
    int32_t depth;
    int32_t pitch;
};

// The pixel formats sprites are converted into.
enum class SpritePixelFormat {
    kArgb8888,  // blue, green, red, alpha bytes; alpha from the image when kept, else 0
    kArgb1555,  // the top bit from the image's alpha (>= 128) when kept, else clear
    kRgb565,
};

// The backend's creation from an image file held in memory.
using SpriteImageCreate = SpriteId (*)(int32_t number, const void* image, int32_t size,
                                       int32_t mode);
// Reads the file `name` whole and makes the sprite from it with `create`; 0 when the file is
// missing, empty, larger than 256 MiB or cannot be read. The decoders are told the real length,
// so a short or hostile file is never read past its end.
SpriteId SpriteImage_LoadFile(int32_t number, const char* name, int32_t mode,
                              SpriteImageCreate create);
// Opens the image file held in `image` (`size` bytes) and makes the block for its rows. False
// when no decoder takes it or no block is to be had (the decoder is closed again then).
bool SpriteImage_Open(const void* image, int32_t size, SpriteImage* decoded);
// Decodes the open image into its block, which closes the decoder. False when it fails.
bool SpriteImage_Decode(const SpriteImage& decoded);
void SpriteImage_Free(SpriteImage* decoded);
// Converts the decoded rows into `width` x `height` pixels of `format` at `target`, rows
// `targetPitch` bytes apart.
void SpriteImage_ConvertRows(const SpriteImage& decoded, bool keepAlpha, SpritePixelFormat format,
                             void* target, int32_t targetPitch, int32_t width, int32_t height);

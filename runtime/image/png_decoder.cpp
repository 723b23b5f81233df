// The PNG decoder over libpng: reads from memory through a callback that never hands out a
// byte beyond the caller's length, and writes 24-bit blue-green-red or 32-bit
// blue-green-red-alpha rows. libpng's errors jump back here and fail the Check or the Decode.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "runtime/image/image_decoder.h"
#include "runtime/image/image_decoder_private.h"

namespace {

constexpr size_t kSignatureSize = 8;
// Most libpng may take in one allocation beyond the size of the data itself: rows, inflate
// windows and decompressed text need far less. A chunk length of gigabytes in a small file is
// then refused instead of being allocated.
constexpr size_t kMostExtraAllocation = size_t{8} << 20;

png_voidp AllocateForLibrary(png_structp png, png_alloc_size_t size) {
    const auto* state = static_cast<const ImageDecodeState*>(png_get_mem_ptr(png));
    if (size > static_cast<size_t>(state->length) + kMostExtraAllocation) return nullptr;
    return std::malloc(size);
}

void FreeForLibrary(png_structp, png_voidp block) {
    std::free(block);
}

void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
    auto* state = static_cast<ImageDecodeState*>(png_get_io_ptr(png));
    const uint8_t* end = state->data + state->length;
    if (count > static_cast<size_t>(end - state->png.read_position)) {
        png_error(png, "Read beyond the end of the image data");
    }
    std::memcpy(out, state->png.read_position, count);
    state->png.read_position += count;
}

void PngFree(ImageDecodeState* state) {
    png_structp png = state->png.png;
    png_infop info = state->png.info;
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    state->png.png = nullptr;
    state->png.info = nullptr;
}

// Nothing in this function may need a destructor: libpng's errors longjmp across it.
int32_t PngCheck(ImageDecodeState* state) {
    // The signature first: data of another kind is refused before anything is taken.
    if (state->length < static_cast<int32_t>(kSignatureSize) ||
        png_sig_cmp(state->data, 0, kSignatureSize) != 0) {
        return 0;
    }
    state->png.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr,
                                              state, &AllocateForLibrary, &FreeForLibrary);
    if (!state->png.png) return 0;
    state->png.info = nullptr;
    png_structp png = state->png.png;
    if (setjmp(png_jmpbuf(png))) {
        PngFree(state);
        return 0;
    }
    // Oversized pictures are refused while the header is read, before any row memory exists.
    png_set_user_limits(png, kImageDecoderMaxSide, kImageDecoderMaxSide);
    // The library reads the signature again, from the start.
    state->png.read_position = state->data;
    png_set_read_fn(png, state, &ReadFromMemory);
    state->png.info = png_create_info_struct(png);
    if (!state->png.info) {
        PngFree(state);
        return 0;
    }
    png_infop info = state->png.info;
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bit_depth = 0;
    int color_type = 0;
    png_get_IHDR(png, info, &width, &height, &bit_depth, &color_type, nullptr, nullptr, nullptr);
    if (!ImageDecoder_SizeAllowed(width, height)) {
        PngFree(state);
        return 0;
    }
    // Every transformation is chosen here, before png_read_update_info: libpng ignores
    // transformations asked for after that call, so 16-bit stripping and blue-first order
    // cannot wait for the Decode.
    if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_PALETTE ||
        color_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        state->source_bits = bit_depth;
        if (bit_depth < 8) png_set_expand(png);
        if (color_type == PNG_COLOR_TYPE_PALETTE) {
            png_set_palette_to_rgb(png);
        } else {
            png_set_gray_to_rgb(png);
        }
    } else {
        state->source_bits = color_type == PNG_COLOR_TYPE_RGB ? 24 : 32;
    }
    // A tRNS chunk becomes alpha on every colour type, as it does on palettes.
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (bit_depth == 16) png_set_strip_16(png);
    png_set_bgr(png);
    state->png.passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_get_IHDR(png, info, &width, &height, &bit_depth, &color_type, nullptr, nullptr, nullptr);
    state->width = static_cast<int32_t>(width);
    state->height = static_cast<int32_t>(height);
    state->png.color_type = color_type;
    state->png.bit_depth = bit_depth;
    state->depth = color_type == PNG_COLOR_TYPE_RGB ? 24 : 32;
    // libpng writes exactly this many bytes per row; anything else would leave the row.
    size_t row_bytes = static_cast<size_t>(width) * static_cast<size_t>(state->depth / 8);
    if (bit_depth != 8 || png_get_rowbytes(png, info) != row_bytes) {
        PngFree(state);
        return 0;
    }
    return 1;
}

int32_t PngDecode(ImageDecodeState* state, uint8_t* buffer, int32_t pitch, int32_t flags) {
    png_structp png = state->png.png;
    if (setjmp(png_jmpbuf(png))) return 0;
    // The transformations were set by the Check. Interlaced images are read once per pass
    // over the same rows, which completes them.
    const int64_t height = state->height;
    const bool bottom_up = (flags & kImageDecodeBottomUp) != 0;
    for (int32_t pass = 0; pass < state->png.passes; ++pass) {
        for (int64_t row = 0; row < height; ++row) {
            png_bytep destination = buffer + (bottom_up ? height - 1 - row : row) * pitch;
            png_read_rows(png, &destination, nullptr, 1);
        }
    }
    // The rest of the file (png_read_end) is not needed.
    return 1;
}

const ImageDecoderEntry kPngDecoder = {&PngCheck, &PngDecode, &PngFree};

}  // namespace

void ImageDecoder_UsePng() {
    if (!ImageDecoder_IsRegistered(&kPngDecoder)) ImageDecoder_Register(&kPngDecoder);
}

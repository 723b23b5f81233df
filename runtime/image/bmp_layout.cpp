// Reading a BMP file's headers into the layout the decoder works from. Every offset the headers
// give is checked against the length the caller vouched for before a byte is read there.
#include "runtime/image/bmp_layout.h"

#include <bit>
#include <cstring>

#include "runtime/image/image_decoder_private.h"

namespace {

constexpr int64_t kFileHeaderSize = 14;
// The headers up to and including the compression field.
constexpr int64_t kHeadersThroughCompression = 34;
// The red, green and blue masks: inside an info header of version 2 to 5, or right after the
// 40-byte one.
constexpr int64_t kMasksOffset = 54;
constexpr int64_t kMasksSize = 12;

constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitFields = 3;
constexpr uint32_t kCompressionAlphaBitFields = 6;

// The decoding a depth and compression call for; false when this decoder has none.
bool KindOf(int32_t bits, uint32_t compression, BmpKind* kind) {
    *kind = BmpKind::kRows;
    switch (bits) {
        case 1:
        case 24:
            return compression == kCompressionNone;
        case 4:
            if (compression == kCompressionRle4) *kind = BmpKind::kRle4;
            return compression == kCompressionNone || compression == kCompressionRle4;
        case 8:
            if (compression == kCompressionRle8) *kind = BmpKind::kRle8;
            return compression == kCompressionNone || compression == kCompressionRle8;
        case 16:
        case 32:
            if (compression == kCompressionBitFields || compression == kCompressionAlphaBitFields) {
                *kind = BmpKind::kBitFields;
                return true;
            }
            return compression == kCompressionNone;
        default:
            return false;
    }
}

// A mask is one run of set bits inside the pixel, or empty (the channel is always 0).
bool ReadChannel(uint32_t mask, int32_t bits, BmpChannel* channel) {
    if (bits < 32 && (mask >> bits) != 0) return false;
    channel->mask = mask;
    channel->shift = mask ? std::countr_zero(mask) : 0;
    const uint32_t field = mask >> channel->shift;
    if ((field & (field + 1)) != 0) return false;
    channel->bits = std::popcount(field);
    return true;
}

}  // namespace

int32_t BmpLayout_StoredHeight(const uint8_t* file) {
    return static_cast<int32_t>(ImageDecoder_Read32(file + 22));
}

bool BmpLayout_Read(const uint8_t* file, int64_t length, int64_t width, int64_t height,
                    BmpLayout* layout) {
    *layout = BmpLayout{};
    if (length < kHeadersThroughCompression) return false;
    layout->bits = ImageDecoder_Read16(file + 28);
    layout->top_down = BmpLayout_StoredHeight(file) < 0;
    layout->pixel_offset = ImageDecoder_Read32(file + 10);
    if (!KindOf(layout->bits, ImageDecoder_Read32(file + 30), &layout->kind)) return false;
    const bool run_length = layout->kind == BmpKind::kRle4 || layout->kind == BmpKind::kRle8;
    // Run-length data is stored bottom-up only.
    if (run_length && layout->top_down) return false;
    if (layout->kind == BmpKind::kBitFields) {
        if (kMasksOffset + kMasksSize > length) return false;
        // Stored red, green, blue; kept in output order.
        for (int32_t c = 0; c < 3; ++c) {
            const uint32_t mask = ImageDecoder_Read32(file + kMasksOffset + 4 * (2 - c));
            if (!ReadChannel(mask, layout->bits, &layout->channels[c])) return false;
        }
    }
    if (layout->bits == 4 || layout->bits == 8) {
        int64_t palette_offset = kFileHeaderSize + ImageDecoder_Read32(file + kFileHeaderSize);
        if (palette_offset + 4 > length) return false;
        int64_t entries = (length - palette_offset) / 4;
        int64_t most = int64_t{1} << layout->bits;
        layout->palette = file + palette_offset;
        layout->palette_entries = static_cast<int32_t>(entries < most ? entries : most);
    }
    if (run_length) return layout->pixel_offset + 2 <= length;
    layout->row_bytes = (width * layout->bits + 7) / 8;
    layout->stride = (layout->row_bytes + 3) & ~int64_t{3};
    // The last row's padding need not be there.
    return layout->pixel_offset + layout->stride * (height - 1) + layout->row_bytes <= length;
}

void BmpLayout_LoadColours(const BmpLayout& layout, BmpColours* colours) {
    colours->count = layout.palette_entries;
    for (int32_t i = 0; i < colours->count; ++i) {
        std::memcpy(colours->bgr[i], layout.palette + 4 * i, 3);
    }
}

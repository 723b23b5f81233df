// The BMP decoder: uncompressed 1, 4, 8, 16, 24 and 32-bit files and 8-bit run-length files,
// bottom-up rows, decoded to 24-bit blue-green-red. Every offset the headers give is checked
// against the length the caller vouched for before a byte is read there.
#include <cstring>

#include "runtime/image/image_decoder.h"
#include "runtime/image/image_decoder_private.h"

namespace {

constexpr int64_t kFileHeaderSize = 14;
// The headers up to and including the bits per pixel; the compression field follows.
constexpr int64_t kHeadersThroughBits = 30;
constexpr int64_t kHeadersThroughCompression = 34;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;

enum class BmpKind { kNothing, kRows, kRle8 };

// Where the decoder reads, and how much of it is there.
struct BmpLayout {
    BmpKind kind;
    int32_t bits;
    int64_t pixel_offset;
    int64_t row_bytes;  // source bytes of one row before padding
    int64_t stride;     // row_bytes rounded up to a multiple of 4
    const uint8_t* palette;
    int32_t palette_entries;  // entries wholly inside the data, at most 2^bits
};

// Finds the layout of a file whose width and height are already known to be allowed. Returns
// false when the data is too short for what the headers promise.
bool DescribeBmp(const uint8_t* file, int64_t length, int64_t width, int64_t height,
                 BmpLayout* layout) {
    *layout = BmpLayout{};
    layout->bits = ImageDecoder_Read16(file + 28);
    layout->pixel_offset = ImageDecoder_Read32(file + 10);
    bool paletted = layout->bits == 4 || layout->bits == 8;
    uint32_t compression = 0;
    if (paletted) {
        if (length < kHeadersThroughCompression) return false;
        compression = ImageDecoder_Read32(file + 30);
    }
    switch (layout->bits) {
        case 1:
            layout->row_bytes = (width + 7) / 8;
            break;
        case 4:
            layout->row_bytes = compression == kCompressionRle4 ? 0 : (width + 1) / 2;
            break;
        case 8:
            layout->row_bytes = compression == kCompressionRle8 ? 0 : width;
            break;
        case 16:
            layout->row_bytes = width * 2;
            break;
        case 24:
            layout->row_bytes = width * 3;
            break;
        case 32:
            layout->row_bytes = width * 4;
            break;
        default:
            break;
    }
    if (layout->bits == 8 && compression == kCompressionRle8) {
        layout->kind = BmpKind::kRle8;
    } else if (layout->row_bytes > 0) {
        layout->kind = BmpKind::kRows;
    } else {
        // Unsupported depth or RLE4: decodes to nothing, successfully.
        layout->kind = BmpKind::kNothing;
        return true;
    }
    if (paletted) {
        int64_t palette_offset = kFileHeaderSize + ImageDecoder_Read32(file + kFileHeaderSize);
        if (palette_offset + 4 > length) return false;
        int64_t entries = (length - palette_offset) / 4;
        int64_t most = int64_t{1} << layout->bits;
        layout->palette = file + palette_offset;
        layout->palette_entries = static_cast<int32_t>(entries < most ? entries : most);
    }
    if (layout->kind == BmpKind::kRle8) return layout->pixel_offset + 2 <= length;
    layout->stride = (layout->row_bytes + 3) & ~int64_t{3};
    // The last row's padding need not be there.
    return layout->pixel_offset + layout->stride * (height - 1) + layout->row_bytes <= length;
}

// The palette as blue, green, red triples; indices at or beyond `count` have no colour.
struct Colours {
    uint8_t bgr[256][3];
    int32_t count;
};

void LoadColours(const BmpLayout& layout, Colours* colours) {
    colours->count = layout.palette_entries;
    for (int32_t i = 0; i < colours->count; ++i) {
        std::memcpy(colours->bgr[i], layout.palette + 4 * i, 3);
    }
}

inline void PutColour(uint8_t* out, const uint8_t* bgr) {
    out[0] = bgr[0];
    out[1] = bgr[1];
    out[2] = bgr[2];
}

// One source row of each kind into one destination row. The palette forms return false on an
// index the palette does not hold.
void Row1(const uint8_t* in, uint8_t* out, int32_t width) {
    for (int32_t x = 0; x < width; ++x) {
        uint8_t level = ((in[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
        out[0] = out[1] = out[2] = level;
        out += 3;
    }
}

bool Row4(const uint8_t* in, uint8_t* out, int32_t width, const Colours& colours) {
    for (int32_t x = 0; x < width; ++x) {
        uint8_t index = (x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4);
        if (index >= colours.count) return false;
        PutColour(out, colours.bgr[index]);
        out += 3;
    }
    return true;
}

bool Row8(const uint8_t* in, uint8_t* out, int32_t width, const Colours& colours) {
    for (int32_t x = 0; x < width; ++x) {
        uint8_t index = in[x];
        if (index >= colours.count) return false;
        PutColour(out, colours.bgr[index]);
        out += 3;
    }
    return true;
}

void Row16(const uint8_t* in, uint8_t* out, int32_t width) {
    for (int32_t x = 0; x < width; ++x) {
        uint16_t v = ImageDecoder_Read16(in + 2 * x);
        out[0] = static_cast<uint8_t>((v & 0x1F) << 3);
        out[1] = static_cast<uint8_t>(((v >> 5) & 0x1F) << 3);
        out[2] = static_cast<uint8_t>(((v >> 10) & 0x1F) << 3);
        out += 3;
    }
}

void Row32(const uint8_t* in, uint8_t* out, int32_t width) {
    for (int32_t x = 0; x < width; ++x) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        in += 4;
        out += 3;
    }
}

int32_t DecodeRows(const ImageDecodeState* state, const BmpLayout& layout, uint8_t* buffer,
                   int32_t pitch) {
    Colours colours;
    if (layout.palette) LoadColours(layout, &colours);
    const int32_t width = state->width;
    const int64_t height = state->height;
    const uint8_t* pixels = state->data + layout.pixel_offset;
    for (int64_t row = 0; row < height; ++row) {
        // Source rows run upward from the bottom of the picture.
        const uint8_t* in = pixels + row * layout.stride;
        uint8_t* out = buffer + (height - 1 - row) * pitch;
        switch (layout.bits) {
            case 1:
                Row1(in, out, width);
                break;
            case 4:
                if (!Row4(in, out, width, colours)) return 0;
                break;
            case 8:
                if (!Row8(in, out, width, colours)) return 0;
                break;
            case 16:
                Row16(in, out, width);
                break;
            case 24:
                std::memcpy(out, in, static_cast<size_t>(width) * 3);
                break;
            case 32:
                Row32(in, out, width);
                break;
        }
    }
    return 1;
}

// 8-bit run-length data. Pixels that land outside the picture are dropped; the decode stops
// with failure when the data ends before the picture does or names a colour it does not have.
int32_t DecodeRle8(const ImageDecodeState* state, const BmpLayout& layout, uint8_t* buffer,
                   int32_t pitch) {
    Colours colours;
    LoadColours(layout, &colours);
    const uint8_t* data = state->data;
    const int64_t length = state->length;
    const int64_t width = state->width;
    const int64_t height = state->height;
    int64_t position = layout.pixel_offset;
    // Cursor, y counting rows from the bottom. Neither moves backwards, so x is held at the
    // width once past it, and the decode is over once y leaves the picture.
    int64_t x = 0;
    int64_t y = 0;
    auto row_start = [&]() { return buffer + (height - 1 - y) * pitch; };
    while (y < height) {
        if (position + 2 > length) return 0;
        uint8_t count = data[position];
        uint8_t value = data[position + 1];
        position += 2;
        if (count != 0) {
            if (value >= colours.count) return 0;
            int64_t visible = x < width ? (count < width - x ? count : width - x) : 0;
            uint8_t* out = row_start() + 3 * x;
            for (int64_t i = 0; i < visible; ++i, out += 3) PutColour(out, colours.bgr[value]);
            x = x + count < width ? x + count : width;
            continue;
        }
        if (value == 0) {
            x = 0;
            y += 1;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (position + 2 > length) return 0;
            x += data[position];
            y += data[position + 1];
            if (x > width) x = width;
            position += 2;
        } else {
            if (position + value > length) return 0;
            uint8_t* out = row_start() + 3 * x;
            for (int32_t i = 0; i < value; ++i) {
                uint8_t index = data[position + i];
                if (index >= colours.count) return 0;
                if (x < width) {
                    PutColour(out, colours.bgr[index]);
                    out += 3;
                    x += 1;
                }
            }
            position += value + (value & 1);
        }
    }
    return 1;
}

int32_t BmpCheck(ImageDecodeState* state) {
    const uint8_t* file = state->data;
    // 1. Type "BM", both reserved fields 0; the headers must be there to be read at all.
    if (state->length < kHeadersThroughBits) return 0;
    if (file[0] != 0x42 || file[1] != 0x4D) return 0;
    if (ImageDecoder_Read16(file + 6) != 0 || ImageDecoder_Read16(file + 8) != 0) return 0;
    // 2. Top-down files (negative height) are not supported; refusing them, like empty or
    // oversized pictures, keeps callers from sizing a buffer from a useless height.
    int32_t width = static_cast<int32_t>(ImageDecoder_Read32(file + 18));
    int32_t height = static_cast<int32_t>(ImageDecoder_Read32(file + 22));
    if (!ImageDecoder_SizeAllowed(width, height)) return 0;
    BmpLayout layout;
    if (!DescribeBmp(file, state->length, width, height, &layout)) return 0;
    state->width = width;
    state->height = height;
    state->source_bits = layout.bits;
    state->depth = 24;
    state->bmp.file_header = file;
    return 1;
}

int32_t BmpDecode(ImageDecodeState* state, uint8_t* buffer, int32_t pitch, int32_t) {
    if (state->height <= 0) return 1;
    BmpLayout layout;
    if (!DescribeBmp(state->bmp.file_header, state->length, state->width, state->height, &layout)) {
        return 0;
    }
    switch (layout.kind) {
        case BmpKind::kRows:
            return DecodeRows(state, layout, buffer, pitch);
        case BmpKind::kRle8:
            return DecodeRle8(state, layout, buffer, pitch);
        case BmpKind::kNothing:
            break;
    }
    return 1;
}

// The data belongs to the caller.
void BmpFree(ImageDecodeState*) {}

const ImageDecoderEntry kBmpDecoder = {&BmpCheck, &BmpDecode, &BmpFree};

}  // namespace

void ImageDecoder_UseBmp() {
    ImageDecoder_Register(&kBmpDecoder);
}

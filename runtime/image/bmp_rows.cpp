// BMP rows stored whole, one per padded source row: 1, 4, 8, 16, 24 and 32 bits per pixel, and
// 16 or 32 bits read through bit-field masks.
#include <cstring>

#include "runtime/image/bmp_layout.h"
#include "runtime/image/image_decoder_private.h"

namespace {

// One bit-field channel widened to 8 bits by table: a field of fewer than 8 bits repeats its
// bits below itself (5 bits: 31 gives 255, 16 gives 132), a wider one keeps its top 8.
struct ChannelTable {
    uint32_t mask;
    int32_t shift;
    uint8_t level[256];
};

void BuildTable(const BmpChannel& channel, ChannelTable* table) {
    const int32_t kept = channel.bits < 8 ? channel.bits : 8;
    table->mask = channel.mask;
    table->shift = channel.shift + (channel.bits - kept);
    std::memset(table->level, 0, sizeof(table->level));
    if (kept == 0) return;
    for (uint32_t v = 0; v < (1u << kept); ++v) {
        uint32_t level = 0;
        for (int32_t at = 8 - kept; at > -kept; at -= kept) {
            level |= at >= 0 ? v << at : v >> -at;
        }
        table->level[v] = static_cast<uint8_t>(level);
    }
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

bool Row4(const uint8_t* in, uint8_t* out, int32_t width, const BmpColours& colours) {
    for (int32_t x = 0; x < width; ++x) {
        uint8_t index = (x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4);
        if (index >= colours.count) return false;
        BmpPutColour(out, colours.bgr[index]);
        out += 3;
    }
    return true;
}

bool Row8(const uint8_t* in, uint8_t* out, int32_t width, const BmpColours& colours) {
    for (int32_t x = 0; x < width; ++x) {
        uint8_t index = in[x];
        if (index >= colours.count) return false;
        BmpPutColour(out, colours.bgr[index]);
        out += 3;
    }
    return true;
}

// Without masks, 16 bits are 5-5-5 with each field shifted up (31 gives 248); bit 15 is unused.
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

template <int kBytes>
void RowFields(const uint8_t* in, uint8_t* out, int32_t width, const ChannelTable* tables) {
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t v = kBytes == 2 ? ImageDecoder_Read16(in) : ImageDecoder_Read32(in);
        for (int32_t c = 0; c < 3; ++c) {
            out[c] = tables[c].level[(v & tables[c].mask) >> tables[c].shift];
        }
        in += kBytes;
        out += 3;
    }
}

}  // namespace

int32_t BmpDecode_Rows(const uint8_t* file, const BmpLayout& layout, int32_t width, int32_t height,
                       uint8_t* buffer, int32_t pitch) {
    BmpColours colours;
    if (layout.palette) BmpLayout_LoadColours(layout, &colours);
    ChannelTable tables[3];
    const bool fields = layout.kind == BmpKind::kBitFields;
    if (fields) {
        for (int32_t c = 0; c < 3; ++c) BuildTable(layout.channels[c], &tables[c]);
    }
    const uint8_t* pixels = file + layout.pixel_offset;
    // Stored rows run upward from the bottom of the picture unless the file is top-down.
    auto out_row = [&](int64_t row) {
        return buffer + (layout.top_down ? row : height - 1 - row) * pitch;
    };
    if (layout.bits == 24) {
        // The bytes stand as they are: the common case, kept to a plain copy per row.
        const size_t bytes = static_cast<size_t>(width) * 3;
        for (int64_t row = 0; row < height; ++row) {
            std::memcpy(out_row(row), pixels + row * layout.stride, bytes);
        }
        return 1;
    }
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* in = pixels + row * layout.stride;
        uint8_t* out = out_row(row);
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
                if (fields) {
                    RowFields<2>(in, out, width, tables);
                } else {
                    Row16(in, out, width);
                }
                break;
            case 32:
                if (fields) {
                    RowFields<4>(in, out, width, tables);
                } else {
                    Row32(in, out, width);
                }
                break;
        }
    }
    return 1;
}

// BMP run-length data of 8 bits (a byte per index) and 4 bits (a nibble per index, high nibble
// first). Pixels that land outside the picture are dropped; the decode stops with failure when
// the data ends before the picture does or names a colour the palette does not have.
#include "runtime/image/bmp_layout.h"

namespace {

template <bool kNibbles>
int32_t DecodeRuns(const uint8_t* data, int64_t length, const BmpLayout& layout, int64_t width,
                   int64_t height, uint8_t* buffer, int32_t pitch) {
    BmpColours colours;
    BmpLayout_LoadColours(layout, &colours);
    int64_t position = layout.pixel_offset;
    // Cursor, y counting rows from the bottom. Neither moves backwards, so x is held at the
    // width once past it, and the decode is over once y leaves the picture.
    int64_t x = 0;
    int64_t y = 0;
    auto row_start = [&]() { return buffer + (height - 1 - y) * pitch; };
    while (y < height) {
        if (position + 2 > length) return 0;
        const uint8_t count = data[position];
        const uint8_t value = data[position + 1];
        position += 2;
        if (count != 0) {
            // A run of one colour, or of two taking turns.
            const uint8_t first = kNibbles ? value >> 4 : value;
            const uint8_t second = kNibbles ? value & 0x0F : value;
            if (first >= colours.count || (count > 1 && second >= colours.count)) return 0;
            const int64_t visible = x < width ? (count < width - x ? count : width - x) : 0;
            uint8_t* out = row_start() + 3 * x;
            for (int64_t i = 0; i < visible; ++i, out += 3) {
                BmpPutColour(out, colours.bgr[(i & 1) ? second : first]);
            }
            x = x + count < width ? x + count : width;
            continue;
        }
        if (value == 0) {
            // End of line.
            x = 0;
            y += 1;
        } else if (value == 1) {
            // End of the picture.
            break;
        } else if (value == 2) {
            // Delta: the cursor moves right and up.
            if (position + 2 > length) return 0;
            x += data[position];
            y += data[position + 1];
            if (x > width) x = width;
            position += 2;
        } else {
            // An absolute run of `value` indices, its bytes padded to an even count.
            const int64_t bytes = kNibbles ? (value + 1) / 2 : value;
            if (position + bytes > length) return 0;
            uint8_t* out = row_start() + 3 * x;
            for (int32_t i = 0; i < value; ++i) {
                uint8_t index = kNibbles ? data[position + i / 2] : data[position + i];
                if (kNibbles) index = (i & 1) ? index & 0x0F : index >> 4;
                if (index >= colours.count) return 0;
                if (x < width) {
                    BmpPutColour(out, colours.bgr[index]);
                    out += 3;
                    x += 1;
                }
            }
            position += bytes + (bytes & 1);
        }
    }
    return 1;
}

}  // namespace

int32_t BmpDecode_RunLength(const uint8_t* file, int64_t length, const BmpLayout& layout,
                            int32_t width, int32_t height, uint8_t* buffer, int32_t pitch) {
    if (layout.kind == BmpKind::kRle4) {
        return DecodeRuns<true>(file, length, layout, width, height, buffer, pitch);
    }
    return DecodeRuns<false>(file, length, layout, width, height, buffer, pitch);
}

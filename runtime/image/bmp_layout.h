// What the BMP decoder's parts share: where a file's pixels are and how they are stored, read
// once from its headers, and the palette as plain colours.
#pragma once
#include <cstdint>

enum class BmpKind { kRows, kBitFields, kRle4, kRle8 };

// One colour channel of a bit-field pixel: (pixel AND mask) >> shift gives a value of `bits`
// bits, at most 8 of which are kept.
struct BmpChannel {
    uint32_t mask;
    int32_t shift;
    int32_t bits;
};

struct BmpLayout {
    BmpKind kind;
    int32_t bits;
    bool top_down;  // rows stored top row first (a negative height in the file)
    int64_t pixel_offset;
    int64_t row_bytes;  // source bytes of one row before padding; 0 for run-length data
    int64_t stride;     // row_bytes rounded up to a multiple of 4
    const uint8_t* palette;
    int32_t palette_entries;  // entries wholly inside the data, at most 2^bits
    BmpChannel channels[3];   // blue, green, red of bit-field files
};

// Reads the layout of the BMP file `file` of `length` bytes whose size has already been found
// allowed. False when the file is one this decoder cannot honour (a depth or compression it
// does not know, masks that are no bit fields, run-length data stored top-down) or is too short
// for what its headers promise.
bool BmpLayout_Read(const uint8_t* file, int64_t length, int64_t width, int64_t height,
                    BmpLayout* layout);

// The file's height as stored: negative for top-down rows.
int32_t BmpLayout_StoredHeight(const uint8_t* file);

// The palette as blue, green, red triples; indices at or beyond `count` have no colour.
struct BmpColours {
    uint8_t bgr[256][3];
    int32_t count;
};
void BmpLayout_LoadColours(const BmpLayout& layout, BmpColours* colours);

inline void BmpPutColour(uint8_t* out, const uint8_t* bgr) {
    out[0] = bgr[0];
    out[1] = bgr[1];
    out[2] = bgr[2];
}

// The decoding of each kind into rows of 24-bit blue-green-red, top row at buffer. 1 on
// success, 0 when the data names a colour the palette does not have or, for run-length data,
// ends before the picture does.
int32_t BmpDecode_Rows(const uint8_t* file, const BmpLayout& layout, int32_t width, int32_t height,
                       uint8_t* buffer, int32_t pitch);
int32_t BmpDecode_RunLength(const uint8_t* file, int64_t length, const BmpLayout& layout,
                            int32_t width, int32_t height, uint8_t* buffer, int32_t pitch);

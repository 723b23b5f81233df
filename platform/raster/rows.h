// A block of pixel rows drawn from a block of source rows, one source pixel per pixel: the walk
// the stand-ins' row loops share. The row function is inlined, so the compiler vectorises it in
// whatever instruction set the calling loop is built for.
#pragma once
#include <cstdint>

namespace raster {

// The width of a tile, which most rows drawn have.
constexpr int32_t kTileRow = 32;

// `width` pixels from `dst` and source pixels from `src` on each of `rows` rows, the rows
// `dst_pitch` and `src_pitch` bytes apart.
struct RowBlock {
    uint8_t* dst;
    const uint8_t* src;
    int64_t dst_pitch, src_pitch;
    int32_t width, rows;
};

// Calls row(d, s, width) for every row, with d and s the row's pixels as T and source pixels
// as S.
template <class T, class S, class Row>
[[gnu::always_inline]] inline void ForEachRow(const RowBlock& b, Row&& row) {
    const int32_t n = b.width, rows = b.rows;  // locals: stores through d may not change them
    uint8_t* d = b.dst;
    const uint8_t* s = b.src;
    // A whole tile's row (the most drawn width) is written out without a loop.
    if (n == kTileRow) {
        for (int32_t y = 0; y < rows; ++y, d += b.dst_pitch, s += b.src_pitch)
            row(reinterpret_cast<T*>(d), reinterpret_cast<const S*>(s), kTileRow);
        return;
    }
    for (int32_t y = 0; y < rows; ++y, d += b.dst_pitch, s += b.src_pitch)
        row(reinterpret_cast<T*>(d), reinterpret_cast<const S*>(s), n);
}

}  // namespace raster

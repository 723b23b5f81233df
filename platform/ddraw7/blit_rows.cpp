// The row loops of blits. The loops of blocks that do not overlap take whole blocks of rows, each
// built for AVX2 and for any x86-64, the loader picking the copy the processor can run: a call
// per row costs as much as a tile's row.
#include "platform/ddraw7/blit_rows.h"

#include <cstring>

#include "platform/ddraw7/pixel_format.h"

namespace {

template <typename T>
[[gnu::always_inline]] inline void KeyedBody(const raster::RowBlock& c, T used, T key) {
    raster::ForEachRow<T, T>(c, [=](T* d, const T* s, int32_t n) {
        for (int32_t i = 0; i < n; ++i) {
            const T p = s[i];
            d[i] = static_cast<T>((p & used) == key ? d[i] : p);
        }
    });
}

template <typename T>
[[gnu::always_inline]] inline void CopyBody(const raster::RowBlock& c) {
    raster::ForEachRow<T, T>(c, [](T* d, const T* s, int32_t n) {
        for (int32_t i = 0; i < n; ++i) d[i] = s[i];
    });
}

// The names are the stand-in's own: a multi-versioned function's resolver has an external name.
[[gnu::target_clones("avx2", "default")]] void DDCopyBlock32(const raster::RowBlock& c) {
    CopyBody<uint32_t>(c);
}
[[gnu::target_clones("avx2", "default")]] void DDCopyBlock16(const raster::RowBlock& c) {
    CopyBody<uint16_t>(c);
}
[[gnu::target_clones("avx2", "default")]] void DDKeyedBlock32(const raster::RowBlock& c,
                                                              uint32_t used, uint32_t key) {
    KeyedBody<uint32_t>(c, used, key);
}
[[gnu::target_clones("avx2", "default")]] void DDKeyedBlock16(const raster::RowBlock& c,
                                                              uint16_t used, uint16_t key) {
    KeyedBody<uint16_t>(c, used, key);
}

}  // namespace

void DDBlit_CopyRows(const raster::RowBlock& c, DDFormat format) {
    const bool backwards = reinterpret_cast<uintptr_t>(c.src) < reinterpret_cast<uintptr_t>(c.dst);
    const size_t bytes = static_cast<size_t>(c.width) * dd7px::BytesPerPixel(format);
    for (int32_t i = 0; i < c.rows; ++i) {
        const int32_t row = backwards ? c.rows - 1 - i : i;
        std::memmove(c.dst + static_cast<int64_t>(row) * c.dst_pitch,
                     c.src + static_cast<int64_t>(row) * c.src_pitch, bytes);
    }
}

void DDBlit_CopyBlock(const raster::RowBlock& c, DDFormat format) {
    if (dd7px::BytesPerPixel(format) == 4) {
        DDCopyBlock32(c);
    } else {
        DDCopyBlock16(c);
    }
}

void DDBlit_KeyedRows(const raster::RowBlock& c, DDFormat format, uint32_t key) {
    const uint32_t used = dd7px::UsedBits(format);
    if (dd7px::BytesPerPixel(format) == 4) {
        DDKeyedBlock32(c, used, key);
    } else {
        DDKeyedBlock16(c, static_cast<uint16_t>(used), static_cast<uint16_t>(key));
    }
}

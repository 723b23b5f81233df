// Inside the gdi32 stand-in: how the blits pair destination pixels with source pixels (nearest
// source pixel, mirrored for negative sizes, only pairs inside both surfaces), and a private
// copy of a source that overlaps its destination.
#pragma once
#include <cstdlib>
#include <vector>

#include "platform/gdi/gdi_internal.h"

struct BlitPair {
    int32_t dest;
    int32_t src;
};

// Destination coordinate i of `dest_size` (from `dest_origin`, going back for a negative size)
// takes source coordinate j = floor((i + 1/2) · |src_size| / |dest_size|) of the source run.
inline std::vector<BlitPair> Blit_Pairs(int64_t dest_origin, int64_t dest_size, int32_t dest_limit,
                                        int64_t src_origin, int64_t src_size, int32_t src_limit) {
    std::vector<BlitPair> pairs;
    const int64_t dn = std::llabs(dest_size), sn = std::llabs(src_size);
    if (dn == 0 || sn == 0) return pairs;
    const int64_t dstep = dest_size < 0 ? -1 : 1, sstep = src_size < 0 ? -1 : 1;
    // Only the destination pixels that exist are visited.
    int64_t first = 0, last = dn - 1;
    if (dstep > 0) {
        if (dest_origin < 0) first = -dest_origin;
        if (dest_origin + last >= dest_limit) last = dest_limit - 1 - dest_origin;
    } else {
        if (dest_origin >= dest_limit) first = dest_origin - (dest_limit - 1);
        if (dest_origin - last < 0) last = dest_origin;
    }
    if (first > last) return pairs;
    pairs.reserve(static_cast<size_t>(last - first + 1));
    for (int64_t i = first; i <= last; ++i) {
        const int64_t j = ((2 * i + 1) * sn) / (2 * dn);
        const int64_t s = src_origin + sstep * j;
        if (s < 0 || s >= src_limit) continue;
        pairs.push_back(
            BlitPair{static_cast<int32_t>(dest_origin + dstep * i), static_cast<int32_t>(s)});
    }
    return pairs;
}

// The same pixels copied into `store`, for blits whose source and destination share memory.
inline GdiSurface Blit_CopyOf(const GdiSurface& s, std::vector<uint8_t>* store) {
    const size_t row = static_cast<size_t>(s.width) * Gdi_BytesPerPixel(s.format);
    store->resize(row * static_cast<size_t>(s.height));
    for (int32_t y = 0; y < s.height; ++y) {
        std::memcpy(store->data() + row * static_cast<size_t>(y), Gdi_Row(s, y), row);
    }
    GdiSurface copy = s;
    copy.bits = store->data();
    copy.pitch = static_cast<int32_t>(row);
    return copy;
}

inline bool Blit_SharesMemory(const GdiSurface& a, const GdiSurface& b) {
    return a.bits == b.bits;
}

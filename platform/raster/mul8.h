// The 8-bit products of both software pipelines (texture stage MODULATE, blend factors and the
// fast row loops), so every path rounds the same way.
#pragma once
#include <cstdint>

namespace raster {

// The one rule for every 8-bit product:
//     Mul8(a, b) = round(a * b / 255), ties impossible since 255 is odd,
// which equals (a * b + 127) / 255 in integers and is exact at the ends: Mul8(x, 255) = x and
// Mul8(x, 0) = 0. It is computed without a division as below (exact for all a, b in 0..255).
inline uint32_t Mul8(uint32_t a, uint32_t b) {
    uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// Mul8 of two channels at once, in the low bytes of the two 16-bit halves of `pair`: each
// product and its rounding fit their half, so no carry crosses over and each half gets exactly
// Mul8(channel, a).
inline uint32_t Mul8Pair(uint32_t pair, uint32_t a) {
    uint32_t t = pair * a + 0x00800080u;
    return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

}  // namespace raster

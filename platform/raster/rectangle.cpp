#include "platform/raster/rectangle.h"

#include <cmath>

namespace raster {

int32_t OneToOne(double c_start, double c_end, int64_t e_start, int64_t e_end, int64_t p0,
                 int64_t p1, int32_t size) {
    // The whole texture at its own size on the half-pixel grid (every quad the game draws):
    // each pixel centre lies on a texel centre, so the texel of pixel p is p minus the pixel
    // under the first texel's centre, exactly; the test below would find the same.
    constexpr int64_t kHalf = int64_t{1} << (kSubpixelBits - 1);
    if (c_start == 0.0 && c_end == 1.0 && e_end - e_start == int64_t{size} << kSubpixelBits &&
        ((e_start + kHalf) & ((int64_t{1} << kSubpixelBits) - 1)) == 0) {
        return static_cast<int32_t>(p0 - ((e_start + kHalf) >> kSubpixelBits));
    }
    constexpr double kMargin = 1.0 / 16.0;
    auto ideal = [&](int64_t p) {
        double t = static_cast<double>((p << kSubpixelBits) - e_start) /
                   static_cast<double>(e_end - e_start);
        return (c_start + t * (c_end - c_start)) * size;
    };
    double first = ideal(p0);
    double last = ideal(p1 - 1);
    if (!(first >= 0.0) || !(last < static_cast<double>(size))) return -1;
    double first_floor = std::floor(first);
    double last_floor = std::floor(last);
    if (first - first_floor < kMargin || first - first_floor > 1.0 - kMargin) return -1;
    if (last - last_floor < kMargin || last - last_floor > 1.0 - kMargin) return -1;
    if (last_floor - first_floor != static_cast<double>(p1 - 1 - p0)) return -1;
    return static_cast<int32_t>(first_floor);
}

}  // namespace raster

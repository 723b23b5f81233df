// Where the picture lands in a window or on the desktop: whole-number scaling where it fits,
// aspect kept and letterboxed otherwise.
#include <algorithm>

#include "platform/host/video.h"

HostRect Host_FitPicture(int32_t area_width, int32_t area_height, int32_t picture_width,
                         int32_t picture_height) {
    if (area_width <= 0 || area_height <= 0 || picture_width <= 0 || picture_height <= 0) {
        return HostRect{0, 0, 0, 0};
    }
    int64_t w = 0;
    int64_t h = 0;
    int64_t factor = std::min(area_width / picture_width, area_height / picture_height);
    if (factor >= 1) {
        w = int64_t{picture_width} * factor;
        h = int64_t{picture_height} * factor;
    } else if (int64_t{area_width} * picture_height <= int64_t{area_height} * picture_width) {
        // Too small for factor 1: the width decides, the height follows the aspect.
        w = area_width;
        h = std::max<int64_t>(1, int64_t{area_width} * picture_height / picture_width);
    } else {
        h = area_height;
        w = std::max<int64_t>(1, int64_t{area_height} * picture_width / picture_height);
    }
    return HostRect{static_cast<int32_t>((area_width - w) / 2),
                    static_cast<int32_t>((area_height - h) / 2), static_cast<int32_t>(w),
                    static_cast<int32_t>(h)};
}

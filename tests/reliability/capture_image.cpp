// Reading captured frames with libpng and comparing them pixel by pixel.
#include "tests/reliability/capture_image.h"

#include <png.h>

#include <cstdio>

namespace {

// The "DX 9 - FPS: N" text at (500, 1): 8 x 16 cells up to the right edge.
constexpr int32_t kRateTextLeft = 496;
constexpr int32_t kRateTextBottom = 18;

}  // namespace

bool ReadCapture(const std::string& path, CapturedFrame* frame) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    frame->width = static_cast<int32_t>(image.width);
    frame->height = static_cast<int32_t>(image.height);
    frame->rgb.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, frame->rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

std::string CapturePath(const std::string& folder, uint32_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "/frame-%06u.png", number);
    return folder + name;
}

int64_t DifferingPixels(const CapturedFrame& a, const CapturedFrame& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return -1;
    int64_t differing = 0;
    for (int32_t y = 0; y < a.height; ++y) {
        for (int32_t x = 0; x < a.width; ++x) {
            if (y < kRateTextBottom && x >= kRateTextLeft) continue;
            size_t at = (static_cast<size_t>(y) * a.width + x) * 3;
            if (a.rgb[at] != b.rgb[at] || a.rgb[at + 1] != b.rgb[at + 1] ||
                a.rgb[at + 2] != b.rgb[at + 2]) {
                ++differing;
            }
        }
    }
    return differing;
}

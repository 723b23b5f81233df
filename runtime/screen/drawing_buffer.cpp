// Direct access to a screen output's pixels: locking them (which gives up the device context
// until the next GDI operation), their pitch and format, and plotting into them.
#include <cstring>

#include "runtime/screen/drawing_private.h"

namespace {

// Screen pixel-format codes, as both screen backends report them.
constexpr int32_t kFormat8 = 1;
constexpr int32_t kFormatX1R5G5B5 = 2;
constexpr int32_t kFormatR5G6B5 = 4;
constexpr int32_t kFormatR8G8B8 = 8;     // 24-bit, red in the low byte
constexpr int32_t kFormatB8G8R8 = 16;    // 24-bit, blue in the low byte
constexpr int32_t kFormatX8B8G8R8 = 32;  // 32-bit, red in the low byte
constexpr int32_t kFormatX8R8G8B8 = 64;

void Store(uint8_t* at, const void* value, size_t bytes) {
    std::memcpy(at, value, bytes);
}

}  // namespace

void* DrawingOp_DirectBuffer(DrawingContext* c) {
    if (c->outputKind != kDrawingOutputScreen || !c->lockBuffer) return nullptr;
    if (c->dcState == 1) {
        c->lockBuffer(c);
        // The output gave its device context up to lock the pixels.
        c->dc = nullptr;
        c->dcState = -1;
    }
    return c->bufferBits;
}

int32_t DrawingOp_BufferPitch(DrawingContext* c) {
    return c->bufferPitch;
}

int32_t DrawingOp_BufferPixelFormat(DrawingContext* c) {
    return c->pixelFormatCode;
}

void DrawingOp_PlotColor(DrawingContext* c, int32_t x, int32_t y, int32_t color) {
    const COLORREF rgb = static_cast<COLORREF>(color) & 0xFFFFFF;
    if (c->dcState != -1 || !c->bufferBits) {
        if (HDC dc = Drawing_TakeDC(c)) SetPixelV(dc, x, y, rgb);
        return;
    }
    if (x < 0 || y < 0 || x >= c->outputWidth || y >= c->outputHeight) return;
    const uint32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    uint8_t* row = static_cast<uint8_t*>(c->bufferBits) + static_cast<intptr_t>(y) * c->bufferPitch;
    switch (c->pixelFormatCode) {
        case kFormatX8R8G8B8: {
            const uint32_t v = (r << 16) | (g << 8) | b;
            Store(row + 4 * x, &v, 4);
            break;
        }
        case kFormatX8B8G8R8: {
            const uint32_t v = (b << 16) | (g << 8) | r;
            Store(row + 4 * x, &v, 4);
            break;
        }
        case kFormatB8G8R8: {
            const uint8_t v[3] = {static_cast<uint8_t>(b), static_cast<uint8_t>(g),
                                  static_cast<uint8_t>(r)};
            Store(row + 3 * x, v, 3);
            break;
        }
        case kFormatR8G8B8: {
            const uint8_t v[3] = {static_cast<uint8_t>(r), static_cast<uint8_t>(g),
                                  static_cast<uint8_t>(b)};
            Store(row + 3 * x, v, 3);
            break;
        }
        case kFormatR5G6B5: {
            const uint16_t v = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
            Store(row + 2 * x, &v, 2);
            break;
        }
        case kFormatX1R5G5B5: {
            const uint16_t v = static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
            Store(row + 2 * x, &v, 2);
            break;
        }
        case kFormat8:
        default:
            // A palette screen has no colour values to plot; nothing is written.
            break;
    }
}

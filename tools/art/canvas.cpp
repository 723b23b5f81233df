// Pixel primitives of the asset painters' canvas.
#include "tools/art/canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kavro_art {

namespace {

uint8_t Channel(float v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, float t) {
    return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t),
            Channel(a.b + (b.b - a.b) * t)};
}

Rgb Shade(Rgb c, float factor) {
    if (factor <= 1.0f)
        return {Channel(c.r * factor), Channel(c.g * factor), Channel(c.b * factor)};
    return Mix(c, Rgb{255, 255, 255}, std::min(1.0f, factor - 1.0f));
}

Rgb Opaque(Rgb c) {
    if (c.r + c.g + c.b >= 12) return c;
    return {static_cast<uint8_t>(std::max<int>(c.r, 5)),
            static_cast<uint8_t>(std::max<int>(c.g, 4)),
            static_cast<uint8_t>(std::max<int>(c.b, 8))};
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        throw std::invalid_argument("canvas size out of range");
    pixels_.assign(static_cast<size_t>(width) * height, kClear);
}

void Canvas::Blend(int x, int y, Rgb c, float alpha) {
    if (!Inside(x, y) || alpha <= 0.0f) return;
    Rgb& p = pixels_[Index(x, y)];
    p = alpha >= 1.0f ? c : Opaque(Mix(p, c, alpha));
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb c) {
    for (int j = std::max(0, y); j < std::min(height_, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(width_, x + w); ++i) pixels_[Index(i, j)] = c;
}

void Canvas::VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
    for (int j = 0; j < h; ++j) {
        Rgb c = Mix(top, bottom, h > 1 ? static_cast<float>(j) / (h - 1) : 0.0f);
        FillRect(x, y + j, w, 1, c);
    }
}

void Canvas::FillCircle(float cx, float cy, float radius, Rgb c) {
    FillEllipse(cx, cy, radius, radius, c);
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, Rgb c) {
    if (rx <= 0 || ry <= 0) return;
    int y0 = static_cast<int>(std::floor(cy - ry)), y1 = static_cast<int>(std::ceil(cy + ry));
    int x0 = static_cast<int>(std::floor(cx - rx)), x1 = static_cast<int>(std::ceil(cx + rx));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f) Set(x, y, c);
        }
}

void Canvas::FillPolygon(const std::vector<float>& points, Rgb c) {
    size_t n = points.size() / 2;
    if (n < 3) return;
    float ymin = points[1], ymax = points[1];
    for (size_t i = 0; i < n; ++i) {
        ymin = std::min(ymin, points[2 * i + 1]);
        ymax = std::max(ymax, points[2 * i + 1]);
    }
    std::vector<float> xs;
    for (int y = std::max(0, static_cast<int>(std::floor(ymin)));
         y <= std::min(height_ - 1, static_cast<int>(std::ceil(ymax))); ++y) {
        float sy = y + 0.5f;
        xs.clear();
        for (size_t i = 0; i < n; ++i) {
            float ax = points[2 * i], ay = points[2 * i + 1];
            float bx = points[2 * ((i + 1) % n)], by = points[2 * ((i + 1) % n) + 1];
            if ((ay <= sy && by > sy) || (by <= sy && ay > sy))
                xs.push_back(ax + (sy - ay) * (bx - ax) / (by - ay));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            int from = static_cast<int>(std::ceil(xs[k] - 0.5f));
            int to = static_cast<int>(std::floor(xs[k + 1] - 0.5f));
            for (int x = from; x <= to; ++x) Set(x, y, c);
        }
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    for (;;) {
        Set(x0, y0, c);
        if (x0 == x1 && y0 == y1) return;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void Canvas::Outline(int x, int y, int w, int h, Rgb c) {
    std::vector<uint8_t> rim(static_cast<size_t>(w) * h, 0);
    auto filled = [&](int i, int j) {
        return i >= x && j >= y && i < x + w && j < y + h && !(Get(i, j) == kClear);
    };
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (!filled(i, j) &&
                (filled(i - 1, j) || filled(i + 1, j) || filled(i, j - 1) || filled(i, j + 1)))
                rim[static_cast<size_t>(j - y) * w + (i - x)] = 1;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (rim[static_cast<size_t>(j) * w + i]) Set(x + i, y + j, c);
}

void Canvas::Paste(const Canvas& from, int sx, int sy, int w, int h, int dx, int dy, bool keyed) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (!from.Inside(sx + i, sy + j)) continue;
            Rgb c = from.Get(sx + i, sy + j);
            if (keyed && c == kClear) continue;
            Set(dx + i, dy + j, c);
        }
}

void Canvas::MirrorHorizontally(int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j)
        for (int i = 0; i < w / 2; ++i) {
            Rgb a = Get(x + i, j), b = Get(x + w - 1 - i, j);
            Set(x + i, j, b);
            Set(x + w - 1 - i, j, a);
        }
}

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float Noise01(int x, int y, uint32_t seed) {
    return (Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) & 0xFFFFFF) /
           16777215.0f;
}

float SmoothNoise(float x, float y, float cell, uint32_t seed) {
    float gx = x / cell, gy = y / cell;
    int ix = static_cast<int>(std::floor(gx)), iy = static_cast<int>(std::floor(gy));
    float fx = gx - ix, fy = gy - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = Noise01(ix, iy, seed), b = Noise01(ix + 1, iy, seed);
    float c = Noise01(ix, iy + 1, seed), d = Noise01(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

}  // namespace kavro_art

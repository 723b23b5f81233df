// An RGB picture in memory that the asset painters draw into, with the few primitives they
// share: clipped pixel access, rectangles, blending, gradients, polygons and outlines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavro_art {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// Pure black is the sprites' transparent colour; painters use kClear for "nothing here".
inline constexpr Rgb kClear{0, 0, 0};

// Linear mix of a and b; t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, float t);
// Scales brightness; factors above 1 lighten towards white.
Rgb Shade(Rgb c, float factor);
// Keeps an opaque colour away from the transparent black that the sprites key out.
Rgb Opaque(Rgb c);

class Canvas {
  public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb Get(int x, int y) const { return Inside(x, y) ? pixels_[Index(x, y)] : kClear; }
    void Set(int x, int y, Rgb c) {
        if (Inside(x, y)) pixels_[Index(x, y)] = c;
    }
    // Draws c over the pixel with coverage alpha (0..1).
    void Blend(int x, int y, Rgb c, float alpha);
    void FillRect(int x, int y, int w, int h, Rgb c);
    void VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
    void FillCircle(float cx, float cy, float radius, Rgb c);
    void FillEllipse(float cx, float cy, float rx, float ry, Rgb c);
    // Polygon given as x0, y0, x1, y1, ...; even-odd fill at pixel centres.
    void FillPolygon(const std::vector<float>& points, Rgb c);
    void Line(int x0, int y0, int x1, int y1, Rgb c);
    // Draws one pixel of c around every non-clear pixel of the rectangle that touches clear
    // (4-neighbourhood): the dark rim the house style gives every shape.
    void Outline(int x, int y, int w, int h, Rgb c);
    // Copies a rectangle of another canvas; clear source pixels are skipped when keyed.
    void Paste(const Canvas& from, int sx, int sy, int w, int h, int dx, int dy, bool keyed);
    void MirrorHorizontally(int x, int y, int w, int h);

    const std::vector<Rgb>& pixels() const { return pixels_; }

  private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// Deterministic noise: the same picture on every build.
uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed);
float Noise01(int x, int y, uint32_t seed);
// Smooth value noise over a grid of the given cell size, in 0..1.
float SmoothNoise(float x, float y, float cell, uint32_t seed);

}  // namespace kavro_art

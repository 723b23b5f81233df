// The icon: the sky and a grass bank on a rounded tile rimmed in ink, the jumping player frame
// of the sheet scaled by a whole factor above it with its shadow on the grass, or at the
// smallest sizes the frame's head and shoulders.
#include "tools/art/icon.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/art/pictures.h"
#include "tools/art/style.h"

namespace kavro_art {

namespace {

constexpr int kJumpFrameX = kPlayerFrameX[3];
constexpr int kSamples = 4;  // per side, for the edge coverage of the tile

struct Box {
    int x0, y0, x1, y1;  // inclusive
};

// The frame's opaque pixels.
Box FigureBox(const Canvas& sheet) {
    Box b{kPlayerFrameWidth, kPlayerFrameHeight, -1, -1};
    for (int y = 0; y < kPlayerFrameHeight; ++y)
        for (int x = 0; x < kPlayerFrameWidth; ++x)
            if (sheet.Get(kJumpFrameX + x, y) != kClear) {
                b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y)};
            }
    return b;
}

// Inside test of a rounded rectangle [lo, hi] x [lo, hi] with corner radius r.
bool InRounded(float x, float y, float lo, float hi, float r) {
    float cx = std::clamp(x, lo + r, hi - r), cy = std::clamp(y, lo + r, hi - r);
    float dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= r * r;
}

struct Pixel {
    Rgb c;
    float alpha = 0;
};

class Painter {
  public:
    explicit Painter(int size) : n_(size), pixels_(static_cast<size_t>(size) * size) {}

    // The tile: sky fading to a light horizon, a grass bank with a lit edge, an ink rim of
    // `rim` pixels; the corners' edges anti-aliased.
    void Tile(float margin, float radius, float rim, float grass_top) {
        const Rgb top{52, 104, 200}, horizon{170, 214, 246};
        const float lo = margin, hi = n_ - margin;
        for (int y = 0; y < n_; ++y)
            for (int x = 0; x < n_; ++x) {
                int outer = 0, inner = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx) {
                        float px = x + (sx + 0.5f) / kSamples, py = y + (sy + 0.5f) / kSamples;
                        outer += InRounded(px, py, lo, hi, radius);
                        inner += InRounded(px, py, lo + rim, hi - rim, radius - rim);
                    }
                if (!outer) continue;
                const float yc = y + 0.5f;
                Rgb fill;
                if (yc < grass_top) {
                    fill = Mix(top, horizon, (yc - lo) / (grass_top - lo));
                } else {
                    float depth = (yc - grass_top) / (hi - grass_top);
                    fill = yc - grass_top < std::max(1.0f, rim) ? kGrassLight
                                                                : Mix(kGrass, kGrassDark, depth);
                }
                Pixel& p = At(x, y);
                p.c = Mix(kInk, fill, static_cast<float>(inner) / outer);
                p.alpha = static_cast<float>(outer) / (kSamples * kSamples);
            }
    }

    // A soft dark ellipse on the grass.
    void Shadow(float cx, float cy, float rx, float ry) {
        for (int y = 0; y < n_; ++y)
            for (int x = 0; x < n_; ++x) {
                float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
                float d = dx * dx + dy * dy;
                if (d < 1.0f) At(x, y).c = Mix(At(x, y).c, kGrassDark, 0.7f * (1.0f - d));
            }
    }

    // The frame, each pixel a k x k block with its top-left at (ox, oy).
    void Figure(const Canvas& sheet, const Box& box, int k, int ox, int oy) {
        for (int y = box.y0; y <= box.y1; ++y)
            for (int x = box.x0; x <= box.x1; ++x) {
                Rgb c = sheet.Get(kJumpFrameX + x, y);
                if (c == kClear) continue;
                for (int j = 0; j < k; ++j)
                    for (int i = 0; i < k; ++i)
                        Over(ox + (x - box.x0) * k + i, oy + (y - box.y0) * k + j, c, 1.0f);
            }
    }

    // Head and shoulders: the frame's top rows at one pixel per pixel, centred on the head and
    // cut off by the tile's edge.
    void Bust(const Canvas& sheet, const Box& box, int margin) {
        const int rows = n_ - margin, head_rows = rows * 3 / 4;
        int left = box.x1, right = box.x0;
        for (int y = box.y0; y < box.y0 + head_rows; ++y)
            for (int x = box.x0; x <= box.x1; ++x)
                if (sheet.Get(kJumpFrameX + x, y) != kClear) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        const int ox = (n_ - (right - left + 1)) / 2 - left, oy = n_ - rows - box.y0;
        for (int y = box.y0; y < box.y0 + rows; ++y)
            for (int x = box.x0; x <= box.x1; ++x) {
                const Rgb c = sheet.Get(kJumpFrameX + x, y);
                if (c != kClear) Inside(ox + x, oy + y, c);
            }
    }

    IconPicture Picture() const {
        IconPicture out;
        out.size = n_;
        out.rgba.reserve(pixels_.size() * 4);
        for (const Pixel& p : pixels_) {
            const bool empty = p.alpha <= 0.0f;
            out.rgba.push_back(empty ? 0 : p.c.r);
            out.rgba.push_back(empty ? 0 : p.c.g);
            out.rgba.push_back(empty ? 0 : p.c.b);
            out.rgba.push_back(static_cast<uint8_t>(std::lround(p.alpha * 255.0f)));
        }
        return out;
    }

  private:
    // Paints over the tile without reaching past its edge.
    void Inside(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < n_ && y < n_) At(x, y).c = c;
    }
    void Over(int x, int y, Rgb c, float alpha) {
        if (x < 0 || y < 0 || x >= n_ || y >= n_) return;
        Pixel& p = At(x, y);
        p.c = Mix(p.c, c, alpha);
        p.alpha = p.alpha + (1.0f - p.alpha) * alpha;
    }
    Pixel& At(int x, int y) { return pixels_[static_cast<size_t>(y) * n_ + x]; }
    int n_;
    std::vector<Pixel> pixels_;
};

}  // namespace

IconPicture PaintIcon(int size) {
    if (size < 16 || size > 1024) throw std::invalid_argument("icon size out of range");
    const Canvas sheet = PaintPlayerSheet();
    const Box box = FigureBox(sheet);
    const int figure_w = box.x1 - box.x0 + 1, figure_h = box.y1 - box.y0 + 1;
    const float n = static_cast<float>(size);

    Painter painter(size);
    const float margin = std::floor(n / 32.0f), rim = std::max(1.0f, std::round(n / 48.0f));
    const float grass_top = std::round(n * 0.8f);
    painter.Tile(margin, n * 0.18f, rim, grass_top);

    // The figure at the whole scale that brings it nearest to three quarters of the tile's
    // height; at the smallest sizes, head and shoulders.
    const int k = static_cast<int>(std::lround(n * 0.72f / figure_h));
    if (k < 1) {
        painter.Bust(sheet, box, static_cast<int>(margin) + 1);
        return painter.Picture();
    }
    const int shown_w = figure_w * k, shown_h = figure_h * k;
    const int ox = static_cast<int>(std::lround((n - shown_w) / 2.0f));
    const int oy = std::max(static_cast<int>(margin),
                            static_cast<int>(grass_top - std::lround(n * 0.06f)) - shown_h);
    painter.Shadow(n / 2.0f, grass_top + (n - margin - grass_top) * 0.4f, shown_w * 0.4f,
                   std::max(1.0f, n * 0.035f));
    painter.Figure(sheet, box, k, ox, oy);
    return painter.Picture();
}

}  // namespace kavro_art

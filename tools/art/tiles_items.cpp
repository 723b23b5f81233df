// Bonus items of layer 1 (a spinning coin, sparkling gems) and the start marker.
#include <cmath>

#include "tools/art/style.h"
#include "tools/art/tile_painters.h"

namespace kavro_art {

namespace {

void Sparkle(Canvas& t, int x, int y, int size) {
    const Rgb white{255, 255, 240};
    for (int d = -size; d <= size; ++d) {
        t.Set(x + d, y, white);
        t.Set(x, y + d, white);
    }
}

void PaintGem(Canvas& t, int frame, Rgb colour) {
    static const int kBob[6] = {0, -1, -2, -2, -1, 0};
    float cy = 16.0f + kBob[frame];
    // Crown (upper facets) and pavilion (lower point).
    std::vector<float> outline = {8, cy - 2, 12, cy - 7, 20, cy - 7, 24, cy - 2, 16, cy + 9};
    t.FillPolygon(outline, colour);
    std::vector<float> table = {12.5f, cy - 5.5f, 19.5f, cy - 5.5f, 21, cy - 2, 11, cy - 2};
    t.FillPolygon(table, Shade(colour, 1.35f));
    std::vector<float> right = {16, cy - 2, 24, cy - 2, 16, cy + 9};
    t.FillPolygon(right, Shade(colour, 0.7f));
    std::vector<float> left_facet = {8, cy - 2, 13, cy - 2, 16, cy + 9};
    t.FillPolygon(left_facet, Shade(colour, 1.1f));
    t.Outline(0, 0, 32, 32, kInk);
    static const int kSparkle[6][3] = {{12, 9, 1},  {20, 8, 2}, {22, 14, 1},
                                       {11, 13, 2}, {0, 0, 0},  {0, 0, 0}};
    const auto& s = kSparkle[frame];
    if (s[2] > 0) Sparkle(t, s[0], s[1] + kBob[frame], s[2]);
}

}  // namespace

void PaintCoin(Canvas& t, int frame) {
    // Six views of a turning coin: full face, narrowing to the edge and widening again.
    static const float kHalfWidth[6] = {9.0f, 7.0f, 4.0f, 1.5f, 4.0f, 7.0f};
    float rx = kHalfWidth[frame], ry = 10.0f;
    const Rgb rim{214, 150, 36}, face = kGold, shine{255, 246, 190};
    t.FillEllipse(16, 16, rx, ry, rim);
    if (rx > 2.5f) t.FillEllipse(16, 16, rx - 2.0f, ry - 2.0f, face);
    // Emblem and shine follow the face as it turns.
    if (rx > 6) {
        for (int y = 11; y <= 21; ++y) t.Set(16, y, rim);
        t.Set(15, 11, rim);
        t.Set(17, 21, rim);
    }
    if (rx > 3) {
        int sx = 16 - static_cast<int>(rx * 0.5f);
        for (int y = 9; y < 14; ++y) t.Set(sx, y, shine);
    }
    t.Outline(0, 0, 32, 32, kInk);
    if (frame == 0) Sparkle(t, 23, 8, 2);
}

void PaintGemRed(Canvas& t, int frame) {
    PaintGem(t, frame, Rgb{232, 48, 76});
}
void PaintGemBlue(Canvas& t, int frame) {
    PaintGem(t, frame, Rgb{64, 132, 244});
}
void PaintGemGreen(Canvas& t, int frame) {
    PaintGem(t, frame, Rgb{56, 208, 112});
}

void PaintStart(Canvas& t, int) {
    // The start post: a stone base, a pole and a green pennant with a white star.
    t.FillRect(4, 27, 24, 5, Rgb{140, 134, 150});
    t.FillRect(4, 27, 24, 1, Rgb{184, 178, 192});
    t.FillRect(23, 4, 3, 23, Rgb{200, 200, 210});
    std::vector<float> pennant = {22, 5, 22, 17, 6, 11};
    t.FillPolygon(pennant, Rgb{64, 196, 104});
    Finish(t);
    t.Set(16, 10, Rgb{255, 255, 255});
    t.Set(17, 11, Rgb{255, 255, 255});
    t.Set(16, 12, Rgb{255, 255, 255});
    t.Set(15, 11, Rgb{255, 255, 255});
    t.Set(16, 11, Rgb{255, 255, 255});
    t.FillCircle(24.5f, 3.0f, 2.0f, kGold);
}

}  // namespace kavro_art

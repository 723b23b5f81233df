// Plants: grass tufts, flowers, bushes, mushrooms, hanging vines and the big tree stamp.
#include <cmath>

#include "tools/art/style.h"
#include "tools/art/tile_painters.h"

namespace kavro_art {

namespace {

void Blade(Canvas& t, int x, int height, int lean, Rgb c) {
    for (int i = 0; i < height; ++i) {
        int px = x + lean * i / std::max(1, height);
        t.Set(px, 31 - i, i > height - 3 ? Shade(c, 1.2f) : c);
        if (i < height / 2) t.Set(px + 1, 31 - i, Shade(c, 0.8f));
    }
}

}  // namespace

void PaintTuft(Canvas& t, int variant) {
    static const int kBlades[3][6][3] = {
        {{6, 8, -2}, {9, 11, 1}, {12, 7, 3}, {20, 9, -2}, {23, 12, 2}, {26, 7, 3}},
        {{4, 6, -1}, {14, 10, -3}, {16, 13, 0}, {18, 9, 3}, {27, 6, 1}, {10, 5, 2}},
        {{8, 12, -3}, {11, 9, 2}, {22, 10, -1}, {24, 14, 2}, {27, 8, 4}, {17, 6, 0}},
    };
    for (const auto& b : kBlades[variant % 3]) Blade(t, b[0], b[1], b[2], kGrass);
    Finish(t);
}

void PaintFlower(Canvas& t, int variant) {
    static const Rgb kPetals[3] = {{236, 72, 88}, {250, 214, 60}, {120, 150, 250}};
    static const int kStems[2][2] = {{10, 14}, {21, 10}};
    for (const auto& s : kStems) {
        for (int y = 31; y > 31 - s[1]; --y) t.Set(s[0], y, kGrassDark);
        t.Set(s[0] - 1, 28, kGrass);
        t.Set(s[0] - 2, 27, kGrass);
        t.Set(s[0] + 1, 26, kGrass);
    }
    for (const auto& s : kStems) {
        float cx = s[0] + 0.5f, cy = 31.5f - s[1];
        for (int p = 0; p < 5; ++p) {
            float a = p * 6.2831853f / 5;
            t.FillCircle(cx + std::cos(a) * 2.6f, cy + std::sin(a) * 2.6f, 1.9f,
                         kPetals[variant % 3]);
        }
        t.FillCircle(cx, cy, 1.4f, Rgb{255, 236, 140});
    }
    Finish(t);
}

void PaintBush(Canvas& t, int) {
    // Two cells wide: overlapping leaf balls with berries.
    static const float kBalls[][3] = {
        {14, 22, 10}, {30, 17, 13}, {47, 21, 11}, {22, 14, 8}, {40, 12, 8}};
    for (const auto& b : kBalls) t.FillCircle(b[0], b[1], b[2], kGrass);
    t.FillRect(4, 28, 56, 4, Rgb{0, 0, 0});
    for (const auto& b : kBalls) {
        for (int y = static_cast<int>(b[1] - b[2]); y < b[1]; ++y)
            for (int x = static_cast<int>(b[0] - b[2]); x < b[0]; ++x) {
                float dx = x - b[0] + 3, dy = y - b[1] + 3;
                if (dx * dx + dy * dy < b[2] * b[2] * 0.35f && t.Get(x, y) == kGrass)
                    t.Set(x, y, Mix(kGrass, kGrassLight, 0.6f));
            }
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            if (y > 22 && t.Get(x, y) == kGrass) t.Set(x, y, kGrassDark);
    Finish(t);
    static const int kBerries[][2] = {{12, 20}, {27, 12}, {36, 20}, {47, 16}, {19, 25}};
    for (const auto& b : kBerries) {
        t.Set(b[0], b[1], Rgb{230, 56, 84});
        t.Set(b[0] + 1, b[1], Rgb{180, 36, 64});
        t.Set(b[0], b[1] - 1, Rgb{255, 170, 180});
    }
}

void PaintMushroom(Canvas& t, int variant) {
    Rgb cap = variant == 0 ? Rgb{222, 58, 56} : Rgb{70, 208, 220};
    t.FillRect(13, 20, 6, 11, Rgb{236, 226, 204});
    t.FillEllipse(16, 19, 11, 7, cap);
    t.FillRect(4, 20, 24, 6, Rgb{0, 0, 0});
    t.FillRect(13, 20, 6, 11, Rgb{236, 226, 204});
    t.FillRect(7, 19, 18, 1, Shade(cap, 0.7f));
    Finish(t);
    Rgb dot = variant == 0 ? Rgb{255, 250, 240} : Rgb{220, 255, 255};
    t.FillCircle(11, 15, 1.6f, dot);
    t.FillCircle(19, 13.5f, 2.0f, dot);
    t.FillCircle(22, 17, 1.2f, dot);
}

void PaintVine(Canvas& t, int variant) {
    int x = variant == 0 ? 10 : 22;
    int length = variant == 0 ? 30 : 20;
    for (int y = 0; y < length; ++y) {
        int px = x + static_cast<int>(std::lround(std::sin(y * 0.35f) * 2.0f));
        t.Set(px, y, kGrassDark);
        t.Set(px + 1, y, kGrass);
        if (y % 6 == 3) {
            t.FillEllipse(px + 4.0f, y + 0.5f, 2.5f, 1.5f, kGrass);
            t.FillEllipse(px - 2.0f, y + 3.5f, 2.5f, 1.5f, kGrassLight);
        }
    }
    Finish(t);
}

void PaintTree(Canvas& t, int) {
    // Three cells wide, four tall: a trunk rooted at the bottom edge and a round crown.
    const Rgb bark{120, 78, 48};
    std::vector<float> trunk = {40, 128, 56, 128, 53, 60, 51, 50, 45, 50, 43, 60};
    t.FillPolygon(trunk, bark);
    std::vector<float> root_l = {34, 128, 42, 118, 44, 128};
    std::vector<float> root_r = {52, 128, 54, 118, 62, 128};
    t.FillPolygon(root_l, bark);
    t.FillPolygon(root_r, bark);
    for (int y = 60; y < 126; y += 7) t.Set(47 + (y / 7) % 3, y, Shade(bark, 0.7f));
    std::vector<float> branch = {50, 70, 68, 56, 70, 58, 52, 74};
    t.FillPolygon(branch, bark);
    static const float kLeaves[][3] = {{48, 40, 28}, {26, 50, 18}, {70, 50, 18}, {36, 26, 18},
                                       {60, 26, 18}, {48, 16, 16}, {20, 36, 12}, {76, 36, 12}};
    const Rgb leaf{76, 160, 72}, leaf_light{128, 204, 92}, leaf_dark{44, 112, 64};
    for (const auto& b : kLeaves) t.FillCircle(b[0], b[1], b[2], leaf);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 96; ++x) {
            if (!(t.Get(x, y) == leaf)) continue;
            float n = SmoothNoise(x, y, 6, 97);
            if (y > 52 || n < 0.3f)
                t.Set(x, y, leaf_dark);
            else if (n > 0.68f && y < 44)
                t.Set(x, y, leaf_light);
        }
    // Ferns around the foot of the trunk.
    static const int kFerns[][3] = {{12, 9, -2}, {16, 12, 1}, {21, 8, 3}, {26, 6, 2},
                                    {70, 7, -2}, {75, 11, 1}, {80, 8, 3}, {84, 5, 1}};
    for (const auto& f : kFerns)
        for (int i = 0; i < f[1]; ++i) {
            int px = f[0] + f[2] * i / f[1];
            t.Set(px, 127 - i, i > f[1] - 3 ? kGrassLight : kGrass);
            if (i < f[1] / 2) t.Set(px + 1, 127 - i, kGrassDark);
        }
    Finish(t);
    static const int kApples[][2] = {{30, 40}, {58, 30}, {66, 48}, {42, 22}};
    for (const auto& a : kApples) {
        t.FillCircle(a[0] + 0.5f, a[1] + 0.5f, 2.0f, Rgb{226, 60, 60});
        t.Set(a[0] - 1, a[1] - 1, Rgb{255, 180, 170});
    }
}

}  // namespace kavro_art

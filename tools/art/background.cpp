// The background picture: a sky running from deep blue to a warm horizon, the sun, clouds, and
// three ranges of hills that grow greener and darker towards the viewer. The game scrolls it
// at 1/8.5416 of the map's speed, so only its upper-left 1012 x 578 pixels are ever seen.
#include <algorithm>
#include <cmath>

#include "tools/art/pictures.h"
#include "tools/art/style.h"

namespace kavro_art {

namespace {

float Ridge(float x, float base, float amplitude, float scale, uint32_t seed) {
    float h = 0, a = 1, total = 0;
    for (int octave = 0; octave < 4; ++octave) {
        h += (SmoothNoise(x, 0.5f, scale, seed + octave) - 0.5f) * a;
        total += a;
        a *= 0.5f;
        scale *= 0.5f;
    }
    return base - h / total * amplitude * 2.0f;
}

void Sky(Canvas& c) {
    const Rgb top{52, 104, 200}, middle{128, 186, 240}, horizon{246, 226, 190};
    for (int y = 0; y < c.height(); ++y) {
        Rgb row = y < 300 ? Mix(top, middle, y / 300.0f)
                          : Mix(middle, horizon, std::min(1.0f, (y - 300) / 160.0f));
        for (int x = 0; x < c.width(); ++x) {
            // A gentle ordered dither keeps the gradient from banding.
            float d = ((x & 1) ^ (y & 1)) ? 0.006f : -0.006f;
            c.Set(x, y, Shade(row, 1.0f + d));
        }
    }
}

void Sun(Canvas& c, float sx, float sy) {
    for (int y = static_cast<int>(sy - 160); y < sy + 160; ++y)
        for (int x = static_cast<int>(sx - 160); x < sx + 160; ++x) {
            float d = std::hypot(x - sx, y - sy);
            if (d < 38)
                c.Set(x, y, Rgb{255, 250, 220});
            else if (d < 41)
                c.Blend(x, y, Rgb{255, 240, 190}, 0.8f);
            else if (d < 160)
                c.Blend(x, y, Rgb{255, 244, 210}, 0.35f * (1.0f - (d - 41) / 119.0f));
        }
}

void Cloud(Canvas& c, float cx, float cy, float size, uint32_t seed) {
    const Rgb light{255, 255, 255}, shadow{206, 220, 240};
    const int puffs = 7;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < puffs; ++i) {
            float t = (i + 0.5f) / puffs;
            float px = cx + (t - 0.5f) * size * 2.4f;
            float r = size * (0.45f + 0.4f * std::sin(t * 3.14159f)) *
                      (0.85f + Noise01(i, 0, seed) * 0.3f);
            float py = cy - r * 0.35f;
            if (pass == 0)
                c.FillEllipse(px, py + 3, r, r * 0.8f, shadow);
            else
                c.FillEllipse(px - 2, py - 1, r * 0.9f, r * 0.72f, light);
        }
}

// Fills everything below a ridge line with a colour that darkens downwards, hazed towards
// the sky colour by `haze`.
void Range(Canvas& c, float base, float amplitude, float scale, uint32_t seed, Rgb colour,
           Rgb bottom, float haze, bool snow) {
    for (int x = 0; x < c.width(); ++x) {
        float top = Ridge(static_cast<float>(x), base, amplitude, scale, seed);
        for (int y = std::max(0, static_cast<int>(top)); y < c.height(); ++y) {
            float depth = (y - top) / 240.0f;
            Rgb col = Mix(colour, bottom, std::min(1.0f, depth));
            // Snow caps the peaks, deeper the higher the peak.
            float snow_line = base - amplitude * 0.35f;
            if (snow && top < snow_line && y - top < (snow_line - top) * 0.45f)
                col = (x + y) % 7 == 0 ? Rgb{210, 220, 240} : Rgb{240, 244, 252};
            if (y - top < 2) col = Shade(col, 1.12f);
            col = Shade(col, 0.96f + SmoothNoise(x, y, 12, seed + 9) * 0.08f);
            c.Set(x, y, Mix(col, Rgb{190, 210, 236}, haze));
        }
    }
}

void TreeLine(Canvas& c, float base, float amplitude, float scale, uint32_t seed, Rgb colour) {
    for (int i = 0; i < 140; ++i) {
        float x = Noise01(i, 1, seed) * c.width();
        float top = Ridge(x, base, amplitude, scale, seed);
        float r = 7 + Noise01(i, 2, seed) * 9;
        c.FillEllipse(x, top - r * 0.4f, r * 0.8f, r, colour);
        c.FillEllipse(x - r * 0.25f, top - r * 0.7f, r * 0.35f, r * 0.45f, Shade(colour, 1.15f));
    }
}

// Hedgerows across the nearest range: darker bands that follow the ridge.
void Fields(Canvas& c, float base, float amplitude, float scale, uint32_t seed) {
    for (int x = 0; x < c.width(); ++x) {
        float top = Ridge(static_cast<float>(x), base, amplitude, scale, seed);
        for (int band = 1; band < 5; ++band) {
            int y = static_cast<int>(top + band * 24 + std::sin(x / 90.0f + band) * 6.0f);
            for (int d = 0; d < 3; ++d)
                if (c.Inside(x, y + d))
                    c.Set(x, y + d, Shade(c.Get(x, y + d), d == 0 ? 0.8f : 0.88f));
        }
    }
}

}  // namespace

Canvas PaintBackground() {
    Canvas c(kBackgroundWidth, kBackgroundHeight);
    Sky(c);
    Sun(c, 760, 110);
    const float clouds[][3] = {{120, 90, 40},  {430, 60, 30},  {640, 170, 46}, {930, 90, 34},
                               {300, 220, 26}, {860, 250, 22}, {60, 280, 20}};
    for (int i = 0; i < 7; ++i) Cloud(c, clouds[i][0], clouds[i][1], clouds[i][2], 200 + i);
    Range(c, 330, 90, 260, 301, Rgb{140, 160, 206}, Rgb{120, 140, 190}, 0.25f, true);
    Range(c, 395, 45, 200, 311, Rgb{104, 160, 150}, Rgb{70, 120, 120}, 0.15f, false);
    TreeLine(c, 455, 40, 240, 321, Rgb{64, 124, 76});
    Range(c, 455, 40, 240, 321, Rgb{96, 170, 84}, Rgb{44, 96, 60}, 0.0f, false);
    TreeLine(c, 530, 30, 160, 331, Rgb{46, 108, 58});
    Range(c, 530, 30, 160, 331, Rgb{76, 150, 70}, Rgb{40, 70, 50}, 0.0f, false);
    Fields(c, 530, 30, 160, 331);
    return c;
}

}  // namespace kavro_art

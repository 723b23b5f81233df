// Deadly tiles (spikes, lava) and water. Animated families loop: every frame-dependent
// offset is a whole fraction of the tile, so frame 3 leads back into frame 0.
#include <cmath>

#include "tools/art/style.h"
#include "tools/art/tile_painters.h"

namespace kavro_art {

namespace {

constexpr float kTau = 6.2831853f;

void PaintSpikeRow(Canvas& t) {
    for (int s = 0; s < 4; ++s) {
        float cx = 4 + s * 8;
        std::vector<float> tri = {cx - 3.6f, 28.0f, cx + 3.6f, 28.0f, cx, 10.0f + (s % 2) * 3};
        t.FillPolygon(tri, kSteel);
        // Shade the right face of each spike.
        for (int y = 10; y < 28; ++y)
            for (int x = static_cast<int>(cx) + 1; x < static_cast<int>(cx) + 4; ++x)
                if (t.Get(x, y) == kSteel) t.Set(x, y, Shade(kSteel, 0.7f));
        for (int y = 14 + (s % 2) * 3; y < 26; ++y)
            if (t.Get(static_cast<int>(cx) - 1, y) == kSteel)
                t.Set(static_cast<int>(cx) - 1, y, Rgb{244, 248, 255});
    }
    t.FillRect(0, 28, 32, 4, Rgb{92, 84, 96});
    t.FillRect(0, 28, 32, 1, Rgb{136, 128, 140});
    for (int x = 2; x < 32; x += 8) t.Set(x, 30, Rgb{160, 150, 150});
    t.Outline(0, 0, 32, 28, kInk);
    t.FillRect(0, 31, 32, 1, kInk);
}

// Lava colour from a heat value 0..1: dark crust, red, orange, yellow.
Rgb Heat(float h) {
    const Rgb crust{120, 26, 22}, red{204, 52, 28}, orange{244, 120, 32}, yellow{255, 222, 96};
    if (h < 0.35f) return Mix(crust, red, h / 0.35f);
    if (h < 0.7f) return Mix(red, orange, (h - 0.35f) / 0.35f);
    return Mix(orange, yellow, std::min(1.0f, (h - 0.7f) / 0.3f));
}

float LavaHeat(int x, int y, int frame) {
    float a = std::sin(kTau * (x / 32.0f + frame / 4.0f)) * 0.5f + 0.5f;
    float b =
        std::sin(kTau * (y / 32.0f - frame / 4.0f) + std::sin(kTau * x / 32.0f) * 1.5f) * 0.5f +
        0.5f;
    float n = Noise01(x / 2, y / 2, 91) * 0.15f;
    return 0.25f + a * 0.25f + b * 0.35f + n;
}

}  // namespace

void PaintSpikes(Canvas& t, int) {
    PaintSpikeRow(t);
}

void PaintSpikesDown(Canvas& t, int) {
    PaintSpikeRow(t);
    Canvas flipped(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) flipped.Set(x, y, t.Get(x, 31 - y));
    t = flipped;
}

void PaintLavaTop(Canvas& t, int frame) {
    // Lava lies in pits of the cave floor: the pit's wall shows above the surface.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 32; ++x) t.Set(x, y, Shade(CaveAt(x, y), 0.8f));
    for (int x = 0; x < 32; ++x) {
        float wave = std::sin(kTau * (x / 32.0f + frame / 4.0f));
        int surface = 9 + static_cast<int>(std::lround(wave * 2.0f));
        for (int y = surface; y < 32; ++y) {
            int d = y - surface;
            Rgb c = Heat(LavaHeat(x, y, frame));
            if (d == 0)
                c = Rgb{255, 244, 170};
            else if (d <= 2)
                c = Mix(c, Rgb{255, 214, 90}, 0.7f);
            t.Set(x, y, c);
        }
    }
    // A bubble rising through the frames and bursting at the top.
    int bx = 9 + frame * 5, by = 24 - frame * 4;
    if (frame < 3) {
        t.FillCircle(bx + 0.5f, by + 0.5f, 2.5f, Rgb{255, 200, 80});
        t.Set(bx - 1, by - 1, Rgb{255, 246, 200});
    } else {
        for (int i = -2; i <= 2; i += 2) t.Set(bx + i * 2, 4 + std::abs(i), Rgb{255, 196, 80});
    }
}

void PaintLava(Canvas& t, int frame) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) t.Set(x, y, Heat(LavaHeat(x, y, frame) * 0.9f));
}

void PaintWaterTop(Canvas& t, int frame) {
    for (int x = 0; x < 32; ++x) {
        float wave = std::sin(kTau * (x / 32.0f * 2 + frame / 4.0f));
        int surface = 7 + static_cast<int>(std::lround(wave * 1.5f));
        for (int y = surface; y < 32; ++y) {
            int d = y - surface;
            Rgb c = Mix(kWater, Rgb{28, 76, 160}, y / 40.0f);
            if (d == 0)
                c = Rgb{214, 240, 255};
            else if (d == 1)
                c = Rgb{140, 200, 248};
            else if (((x + frame * 4 + y * 2) % 16) < 3 && d < 8)
                c = Shade(c, 1.15f);
            t.Set(x, y, c);
        }
    }
}

void PaintWater(Canvas& t, int) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            Rgb c = Mix(Rgb{40, 104, 196}, Rgb{28, 76, 160}, 0.5f);
            float caustic =
                std::sin(kTau * (x + y * 0.5f) / 32.0f) * std::sin(kTau * (y - x * 0.5f) / 32.0f);
            if (caustic > 0.55f) c = Shade(c, 1.12f);
            t.Set(x, y, c);
        }
}

}  // namespace kavro_art

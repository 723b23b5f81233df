// Scenery tiles drawn over the ground in layer 1: torches, signposts, fences,
// castle windows and banners, rocks, crystals, stalactites, bones and light shafts.
#include <cmath>

#include "tools/art/style.h"
#include "tools/art/tile_painters.h"

namespace kavro_art {

namespace {

constexpr float kTau = 6.2831853f;

void Flame(Canvas& t, float cx, float base, float height, float sway) {
    const Rgb outer{236, 92, 36}, mid{252, 170, 48}, core{255, 240, 168};
    for (int layer = 0; layer < 3; ++layer) {
        float h = height * (1.0f - layer * 0.28f), w = 4.5f - layer * 1.4f;
        Rgb c = layer == 0 ? outer : layer == 1 ? mid : core;
        std::vector<float> shape = {cx - w,
                                    base,
                                    cx - w * 0.6f,
                                    base - h * 0.55f,
                                    cx + sway * (1.0f - layer * 0.3f),
                                    base - h,
                                    cx + w * 0.6f,
                                    base - h * 0.5f,
                                    cx + w,
                                    base};
        t.FillPolygon(shape, c);
        t.FillEllipse(cx, base - 0.5f, w, 2.0f, c);
    }
}

// A signpost whose board points right.
void SignBoard(Canvas& t) {
    t.FillRect(14, 16, 4, 15, kWoodDark);
    std::vector<float> board = {3, 6, 22, 6, 29, 12, 22, 18, 3, 18};
    t.FillPolygon(board, kWood);
    for (int x = 5; x < 22; ++x) t.Set(x, 12, Shade(kWood, 0.8f));
}

// An arrow painted along row 11 from column `from` to its tip at column `tip`.
void PaintedArrow(Canvas& t, int from, int tip) {
    const Rgb paint{250, 240, 220};
    const int dir = tip > from ? 1 : -1;
    for (int x = from; x != tip + dir; x += dir) t.Set(x, 11, paint);
    for (int d = 0; d < 3; ++d) {
        t.Set(tip - dir * (2 - d), 11 - (2 - d), paint);
        t.Set(tip - dir * (2 - d), 11 + (2 - d), paint);
    }
}

}  // namespace

void PaintTorch(Canvas& t, int frame) {
    static const float kSway[4] = {-1.5f, 0.5f, 2.0f, 0.0f};
    static const float kHeight[4] = {13.0f, 15.0f, 12.0f, 14.0f};
    // Iron cup on a wall bracket.
    t.FillRect(14, 20, 4, 9, Rgb{86, 80, 92});
    t.FillRect(11, 27, 10, 2, Rgb{86, 80, 92});
    std::vector<float> cup = {9, 15, 23, 15, 20, 21, 12, 21};
    t.FillPolygon(cup, Rgb{120, 112, 124});
    Finish(t);
    Flame(t, 16, 15, kHeight[frame], kSway[frame]);
    t.Outline(0, 0, 32, 16, kInk);
    // Sparks.
    t.Set(12 + frame * 2, 3 + (frame % 2), Rgb{255, 210, 120});
}

void PaintSign(Canvas& t, int) {
    SignBoard(t);
    Finish(t);
    PaintedArrow(t, 8, 18);
}

// The signpost at the far end of the level: the way back, to the start post's green pennant.
void PaintSignBack(Canvas& t, int) {
    SignBoard(t);
    t.MirrorHorizontally(0, 0, 32, 32);
    Finish(t);
    PaintedArrow(t, 15, 7);
    t.FillRect(19, 7, 1, 10, Rgb{200, 200, 210});
    std::vector<float> pennant = {20, 7, 20, 14, 27, 10.5f};
    t.FillPolygon(pennant, Rgb{64, 196, 104});
}

void PaintFence(Canvas& t, int) {
    for (int px : {3, 19}) {
        t.FillRect(px, 12, 6, 20, kWood);
        std::vector<float> tip = {static_cast<float>(px), 12, px + 3.0f, 8, px + 6.0f, 12};
        t.FillPolygon(tip, kWood);
    }
    t.FillRect(0, 16, 32, 3, Shade(kWood, 0.9f));
    t.FillRect(0, 24, 32, 3, Shade(kWood, 0.9f));
    Finish(t);
}

void PaintWindow(Canvas& t, int) {
    // An arched castle window with warm light behind bars.
    t.FillRect(8, 10, 16, 18, Rgb{132, 124, 140});
    t.FillCircle(16, 10, 8, Rgb{132, 124, 140});
    t.FillRect(10, 11, 12, 15, Rgb{255, 206, 110});
    t.FillCircle(16, 11, 6, Rgb{255, 206, 110});
    for (int y = 6; y < 26; ++y) t.Set(16, y, kInk);
    for (int x = 10; x < 22; ++x) t.Set(x, 16, kInk);
    for (int y = 17; y < 26; ++y)
        for (int x = 10; x < 22; ++x)
            if (t.Get(x, y) == Rgb{255, 206, 110}) t.Set(x, y, Rgb{244, 172, 84});
    Finish(t);
}

void PaintBanner(Canvas& t, int) {
    t.FillRect(6, 1, 20, 2, Rgb{120, 84, 52});
    std::vector<float> cloth = {8, 3, 24, 3, 24, 27, 16, 22, 8, 27};
    t.FillPolygon(cloth, Rgb{60, 84, 196});
    for (int y = 4; y < 22; ++y) t.Set(9, y, Rgb{92, 120, 224});
    t.FillCircle(16, 11, 4, kGold);
    t.FillCircle(16, 11, 2, Rgb{60, 84, 196});
    Finish(t);
}

void PaintRock(Canvas& t, int) {
    t.FillEllipse(16, 24, 11, 8, kRock);
    t.FillEllipse(10, 27, 6, 4, Shade(kRock, 0.9f));
    t.FillRect(0, 29, 32, 3, Rgb{0, 0, 0});
    t.FillEllipse(16, 28.5f, 13, 3.5f, Shade(kRock, 0.85f));
    t.FillRect(0, 31, 32, 1, Rgb{0, 0, 0});
    for (int y = 17; y < 22; ++y) t.Set(12 + (y - 17), y, Shade(kRock, 1.2f));
    Finish(t);
}

void PaintCrystal(Canvas& t, int variant) {
    static const Rgb kColours[3] = {{184, 112, 240}, {96, 220, 236}, {110, 232, 140}};
    Rgb c = kColours[variant % 3];
    struct Shard {
        float x, lean, height, width;
    };
    static const Shard kShards[] = {{16, 0, 22, 5}, {9, -4, 14, 4}, {23, 4, 16, 4}, {13, -1, 9, 3}};
    for (const Shard& s : kShards) {
        std::vector<float> shape = {s.x - s.width,
                                    31,
                                    s.x - s.width + s.lean * 0.6f,
                                    31 - s.height * 0.75f,
                                    s.x + s.lean,
                                    31 - s.height,
                                    s.x + s.width + s.lean * 0.6f,
                                    31 - s.height * 0.75f,
                                    s.x + s.width,
                                    31};
        t.FillPolygon(shape, c);
        for (int y = static_cast<int>(31 - s.height * 0.7f); y < 30; ++y)
            t.Set(static_cast<int>(s.x + s.lean * 0.3f) - 1, y, Shade(c, 1.3f));
        for (int y = static_cast<int>(31 - s.height * 0.7f); y < 30; ++y)
            t.Set(static_cast<int>(s.x + s.lean * 0.3f) + 2, y, Shade(c, 0.75f));
    }
    Finish(t);
}

void PaintStalactite(Canvas& t, int variant) {
    const Rgb c = Shade(kCave, 1.25f);
    if (variant == 0) {
        std::vector<float> big = {6, 0, 26, 0, 17, 28};
        t.FillPolygon(big, c);
    } else {
        std::vector<float> a = {2, 0, 14, 0, 8, 18};
        std::vector<float> b = {15, 0, 30, 0, 22, 24};
        t.FillPolygon(a, c);
        t.FillPolygon(b, c);
    }
    Finish(t);
    // A drop of water at the tip.
    if (variant == 0) t.Set(17, 30, Rgb{150, 210, 250});
}

void PaintBones(Canvas& t, int variant) {
    const Rgb bone{236, 228, 206};
    if (variant == 0) {
        t.FillEllipse(16, 22, 7, 6, bone);
        t.FillRect(12, 25, 8, 5, bone);
        Finish(t);
        t.FillEllipse(13, 22, 1.8f, 2.2f, kInk);
        t.FillEllipse(19, 22, 1.8f, 2.2f, kInk);
        t.Set(16, 25, kInk);
        for (int x = 13; x < 20; x += 2) t.Set(x, 29, kInk);
    } else {
        for (int i = 0; i < 2; ++i) {
            int y0 = 26 + i * 2;
            t.FillRect(6, y0, 20, 2, bone);
            t.FillCircle(5, y0 + 0.0f, 2, bone);
            t.FillCircle(5, y0 + 2.0f, 2, bone);
            t.FillCircle(26, y0 + 0.0f, 2, bone);
            t.FillCircle(26, y0 + 2.0f, 2, bone);
        }
        Finish(t);
    }
}

void PaintLight(Canvas& t, int) {
    // A shaft of warm light, drawn by the map at low opacity.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            float band = std::sin(kTau * (x + y * 0.4f) / 32.0f) * 0.5f + 0.5f;
            t.Set(x, y, Mix(Rgb{255, 236, 170}, Rgb{255, 250, 222}, band));
        }
}

}  // namespace kavro_art

// The player sheet: a small adventurer in a red cap, drawn from a pose rig (limb joints per
// frame) in flat colours and finished with the house light and ink.
#include <cmath>

#include "tools/art/pictures.h"
#include "tools/art/style.h"

namespace kavro_art {

namespace {

struct Point {
    float x, y;
};
struct Limb {
    Point root, joint, end;
};
struct Pose {
    Limb back_leg, front_leg, back_arm, front_arm;
    float bob;       // vertical shift of head and torso
    bool from_back;  // climbing: seen from behind
    bool shout;      // open mouth
};

const Rgb kSkin{248, 204, 160};
const Rgb kCap{214, 48, 52};
const Rgb kTunic{60, 112, 208};
const Rgb kTrousers{64, 64, 100};
const Rgb kBoot{122, 74, 42};
const Rgb kScarf{250, 196, 58};
const Rgb kHair{104, 60, 36};

void Thick(Canvas& c, Point a, Point b, float radius, Rgb colour) {
    float length = std::hypot(b.x - a.x, b.y - a.y);
    int steps = std::max(1, static_cast<int>(length * 3));
    for (int i = 0; i <= steps; ++i) {
        float t = static_cast<float>(i) / steps;
        c.FillCircle(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, radius, colour);
    }
}

Point Shift(Point p, float dx, float dy) {
    return {p.x + dx, p.y + dy};
}

void DrawLeg(Canvas& c, int ox, const Limb& leg, bool back, bool facing_away) {
    Rgb trousers = back ? Shade(kTrousers, 0.8f) : kTrousers;
    Rgb boot = back ? Shade(kBoot, 0.8f) : kBoot;
    Thick(c, Shift(leg.root, ox, 0), Shift(leg.joint, ox, 0), 1.6f, trousers);
    Thick(c, Shift(leg.joint, ox, 0), Shift(leg.end, ox, 0), 1.5f, trousers);
    // Boot: a rounded block pointing forward (or straight down from behind).
    float toe = facing_away ? 0.0f : 2.0f;
    c.FillEllipse(ox + leg.end.x + toe * 0.5f, leg.end.y + 0.5f, 2.4f + toe * 0.5f, 1.8f, boot);
}

void DrawArm(Canvas& c, int ox, const Limb& arm, bool back, float bob) {
    Rgb sleeve = back ? Shade(kTunic, 0.78f) : Shade(kTunic, 1.08f);
    Point root = Shift(arm.root, ox, bob), joint = Shift(arm.joint, ox, bob),
          end = Shift(arm.end, ox, bob);
    Thick(c, root, joint, 1.4f, sleeve);
    Thick(c, joint, end, 1.2f, sleeve);
    c.FillCircle(end.x, end.y, 1.6f, back ? Shade(kSkin, 0.85f) : kSkin);
}

void DrawFigure(Canvas& c, int ox, const Pose& p) {
    float b = p.bob;
    DrawArm(c, ox, p.back_arm, true, b);
    DrawLeg(c, ox, p.back_leg, true, p.from_back);
    // Torso: tunic with a belt and a scarf.
    c.FillEllipse(ox + 14.0f, 19.5f + b, 5.0f, 5.0f, kTunic);
    c.FillRect(ox + 9, 19 + static_cast<int>(b), 10, 4, kTunic);
    c.FillRect(ox + 9, 22 + static_cast<int>(b), 10, 2, kBoot);
    c.Set(ox + 14, 22 + static_cast<int>(b), kScarf);
    DrawLeg(c, ox, p.front_leg, false, p.from_back);
    // Head.
    float hx = ox + 14.5f, hy = 9.0f + b;
    c.FillCircle(hx, hy, 6.4f, p.from_back ? kHair : kSkin);
    // Cap: the upper half of the head, a brim pointing forward.
    for (int y = static_cast<int>(hy - 7); y <= static_cast<int>(hy - 1); ++y)
        for (int x = static_cast<int>(hx - 7); x <= static_cast<int>(hx + 7); ++x) {
            float dx = x + 0.5f - hx, dy = y + 0.5f - hy;
            if (dx * dx + dy * dy <= 6.9f * 6.9f && dy < -1.0f + dx * 0.15f) c.Set(x, y, kCap);
        }
    if (!p.from_back) {
        c.FillRect(static_cast<int>(hx) + 1, static_cast<int>(hy) - 2, 6, 2, Shade(kCap, 0.85f));
        c.Set(static_cast<int>(hx) - 5, static_cast<int>(hy), kHair);
        c.Set(static_cast<int>(hx) - 5, static_cast<int>(hy) + 1, kHair);
        c.Set(static_cast<int>(hx) - 4, static_cast<int>(hy) + 1, kHair);
    } else {
        c.FillRect(static_cast<int>(hx) - 2, static_cast<int>(hy) - 6, 4, 2, Shade(kCap, 1.2f));
    }
    // Scarf over the neck.
    c.FillRect(ox + 10, 15 + static_cast<int>(b), 9, 2, kScarf);
    if (!p.from_back) c.FillRect(ox + 8, 16 + static_cast<int>(b), 3, 3, kScarf);
    DrawArm(c, ox, p.front_arm, false, b);
}

void DrawFace(Canvas& c, int ox, const Pose& p) {
    if (p.from_back) return;
    int hx = ox + 14, hy = 9 + static_cast<int>(p.bob);
    c.Set(hx + 3, hy, kInk);
    c.Set(hx + 3, hy + 1, kInk);
    c.Set(hx + 4, hy, Rgb{255, 255, 255});
    c.Set(hx + 2, hy + 3, Rgb{236, 140, 130});
    if (p.shout) {
        c.Set(hx + 4, hy + 3, kInk);
        c.Set(hx + 4, hy + 4, kInk);
    } else {
        c.Set(hx + 4, hy + 3, Shade(kSkin, 0.7f));
        c.Set(hx + 5, hy + 3, Shade(kSkin, 0.7f));
    }
}

// Poses for x = 0, 28, 56 (walking), 90 (jumping), 119 (falling), 312 (climbing), facing right.
const Pose kPoses[6] = {
    {{{13, 23}, {11, 26}, {9, 28}},
     {{15, 23}, {18, 26}, {19, 28}},
     {{12, 17}, {15, 20}, {17, 21}},
     {{16, 17}, {14, 20}, {11, 21}},
     0,
     false,
     false},
    {{{13, 23}, {13, 26}, {12, 28}},
     {{15, 23}, {16, 26}, {16, 28}},
     {{12, 17}, {13, 20}, {14, 22}},
     {{16, 17}, {15, 20}, {15, 22}},
     -1,
     false,
     false},
    {{{13, 23}, {15, 26}, {17, 28}},
     {{15, 23}, {13, 26}, {10, 28}},
     {{12, 17}, {11, 20}, {9, 21}},
     {{16, 17}, {18, 20}, {20, 20}},
     0,
     false,
     false},
    {{{13, 22}, {12, 25}, {9, 26}},
     {{15, 22}, {19, 23}, {18, 27}},
     {{12, 16}, {9, 18}, {7, 20}},
     {{16, 16}, {19, 12}, {21, 9}},
     -2,
     false,
     false},
    {{{13, 23}, {11, 26}, {10, 28}},
     {{15, 23}, {17, 26}, {18, 28}},
     {{12, 16}, {8, 13}, {6, 10}},
     {{16, 16}, {20, 13}, {22, 10}},
     0,
     false,
     true},
    {{{12, 23}, {11, 25}, {11, 28}},
     {{16, 23}, {18, 24}, {17, 26}},
     {{11, 16}, {8, 12}, {8, 7}},
     {{17, 16}, {20, 12}, {20, 8}},
     0,
     true,
     false},
};

}  // namespace

Canvas PaintPlayerSheet() {
    Canvas sheet(kPlayerSheetWidth, kPlayerSheetHeight);
    for (int i = 0; i < 6; ++i) {
        const int ox = kPlayerFrameX[i];
        DrawFigure(sheet, ox, kPoses[i]);
        Finish(sheet, ox, 0, kPlayerFrameWidth, kPlayerFrameHeight);
        DrawFace(sheet, ox, kPoses[i]);
        // The left-facing row: the same frame mirrored inside its own box.
        sheet.Paste(sheet, ox, 0, kPlayerFrameWidth, kPlayerFrameHeight, ox, kPlayerFrameHeight,
                    false);
        sheet.MirrorHorizontally(ox, kPlayerFrameHeight, kPlayerFrameWidth, kPlayerFrameHeight);
    }
    return sheet;
}

}  // namespace kavro_art

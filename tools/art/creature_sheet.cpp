// The creature sheet: a spiny purple cave critter, three walking frames facing right and the
// same three mirrored, facing left.
#include <cmath>

#include "tools/art/pictures.h"
#include "tools/art/style.h"

namespace kavro_art {

namespace {

const Rgb kBody{138, 84, 196};
const Rgb kBelly{204, 170, 232};
const Rgb kSpine{92, 52, 150};
const Rgb kFoot{250, 170, 70};

void DrawCritter(Canvas& c, int ox, int frame) {
    static const float kBob[3] = {0.0f, -1.0f, 0.0f};
    static const float kFeet[3][2] = {{-5, 4}, {-1, 1}, {4, -5}};  // x offsets of the two feet
    const float b = kBob[frame];
    const float cx = ox + 15.0f, cy = 20.0f + b;
    // Spines along the back.
    for (int s = 0; s < 6; ++s) {
        float a = 3.14159f * (0.95f + s * 0.16f);
        float bx = cx + std::cos(a) * 10.5f, by = cy + std::sin(a) * 8.5f;
        float tx = cx + std::cos(a) * 16.0f - 1.5f, ty = cy + std::sin(a) * 13.0f;
        std::vector<float> spine = {bx - 2.5f, by, bx + 2.5f, by, tx, ty};
        c.FillPolygon(spine, kSpine);
    }
    // Feet behind the body.
    for (int f = 0; f < 2; ++f) {
        float fx = cx + kFeet[frame][f];
        c.FillEllipse(fx + 1.0f, 28.5f, 3.2f, 2.2f, f == 0 ? Shade(kFoot, 0.8f) : kFoot);
    }
    c.FillEllipse(cx, cy, 11.5f, 8.5f, kBody);
    c.FillEllipse(cx + 3.0f, cy + 3.5f, 7.5f, 4.5f, kBelly);
    // Snout and horn.
    c.FillEllipse(cx + 11.0f, cy + 1.5f, 3.5f, 3.0f, kBody);
    std::vector<float> horn = {cx + 5.0f, cy - 7.0f, cx + 9.0f, cy - 6.0f, cx + 9.5f, cy - 12.0f};
    c.FillPolygon(horn, Rgb{246, 232, 196});
    Finish(c, ox, 0, kCreatureFrameSize, kCreatureFrameSize);
    // Eye, nostril and cheek.
    c.FillCircle(cx + 6.5f, cy - 2.5f, 2.6f, Rgb{255, 255, 255});
    c.FillCircle(cx + 7.3f, cy - 2.2f, 1.3f, kInk);
    c.Set(static_cast<int>(cx + 6), static_cast<int>(cy - 4), Rgb{255, 255, 255});
    c.Set(static_cast<int>(cx + 13), static_cast<int>(cy + 1), kInk);
    c.Set(static_cast<int>(cx + 4), static_cast<int>(cy + 1), Rgb{236, 120, 170});
    c.Set(static_cast<int>(cx + 5), static_cast<int>(cy + 1), Rgb{236, 120, 170});
    // Mouth, with a tooth.
    for (int x = 0; x < 4; ++x) c.Set(static_cast<int>(cx + 8 + x), static_cast<int>(cy + 4), kInk);
    c.Set(static_cast<int>(cx + 9), static_cast<int>(cy + 5), Rgb{255, 255, 255});
}

}  // namespace

Canvas PaintCreatureSheet() {
    Canvas sheet(kCreatureSheetWidth, kCreatureSheetHeight);
    for (int frame = 0; frame < 3; ++frame) {
        const int right = frame * kCreatureFrameSize, left = (frame + 3) * kCreatureFrameSize;
        DrawCritter(sheet, right, frame);
        sheet.Paste(sheet, right, 0, kCreatureFrameSize, kCreatureFrameSize, left, 0, false);
        sheet.MirrorHorizontally(left, 0, kCreatureFrameSize, kCreatureFrameSize);
    }
    return sheet;
}

}  // namespace kavro_art

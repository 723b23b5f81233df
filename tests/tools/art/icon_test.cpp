// The icon at every size a theme asks for: a rounded tile with transparent corners, opaque
// inside, and the player's jumping frame drawn pixel for pixel at a whole scale.
#include <gtest/gtest.h>

#include "tools/art/icon.h"
#include "tools/art/pictures.h"

namespace {

using kavro_art::Rgb;

struct Rgba {
    int r, g, b, a;
};

Rgba At(const kavro_art::IconPicture& icon, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * icon.size + x) * 4;
    return {icon.rgba[i], icon.rgba[i + 1], icon.rgba[i + 2], icon.rgba[i + 3]};
}

// Whether the frame's pixels appear in the icon as k x k blocks at some offset: every
// opaque frame pixel's block holds exactly its colour.
bool HoldsFrameAtScale(const kavro_art::IconPicture& icon, const kavro_art::Canvas& sheet, int k) {
    const int frame_x = kavro_art::kPlayerFrameX[3];
    // The frame's top-left opaque pixel fixes the offset.
    for (int oy = -32 * k; oy < icon.size; ++oy)
        for (int ox = -28 * k; ox < icon.size; ++ox) {
            bool all = true, any = false;
            for (int y = 0; y < 32 && all; ++y)
                for (int x = 0; x < 28 && all; ++x) {
                    const Rgb c = sheet.Get(frame_x + x, y);
                    if (c == kavro_art::kClear) continue;
                    for (int j = 0; j < k && all; ++j)
                        for (int i = 0; i < k && all; ++i) {
                            const int px = ox + x * k + i, py = oy + y * k + j;
                            if (px < 0 || py < 0 || px >= icon.size || py >= icon.size) {
                                all = false;
                                break;
                            }
                            const Rgba p = At(icon, px, py);
                            all = p.a == 255 && p.r == c.r && p.g == c.g && p.b == c.b;
                            any = true;
                        }
                }
            if (all && any) return true;
        }
    return false;
}

TEST(IconTest, EverySizeIsATileWithTheJumpingFrame) {
    const kavro_art::Canvas sheet = kavro_art::PaintPlayerSheet();
    const struct {
        int size, scale;  // 0: head and shoulders only
    } cases[] = {{16, 0}, {32, 1}, {48, 1}, {64, 2}, {128, 3}, {256, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const kavro_art::IconPicture icon = kavro_art::PaintIcon(c.size);
        ASSERT_EQ(icon.size, c.size);
        ASSERT_EQ(icon.rgba.size(), static_cast<size_t>(c.size) * c.size * 4);
        const int last = c.size - 1, mid = c.size / 2, in = c.size / 16;
        for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
            EXPECT_LT(At(icon, x, y).a, 32) << x << "," << y;
        for (auto [x, y] : {std::pair{mid, in}, {in, mid}, {last - in, mid}, {mid, last - in}})
            EXPECT_EQ(At(icon, x, y).a, 255) << x << "," << y;
        if (c.scale) {
            EXPECT_TRUE(HoldsFrameAtScale(icon, sheet, c.scale));
        }
    }
    EXPECT_THROW(kavro_art::PaintIcon(8), std::invalid_argument);
}

}  // namespace

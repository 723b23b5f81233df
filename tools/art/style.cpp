// Palette textures and the finishing passes of the house style.
#include "tools/art/style.h"

#include <algorithm>
#include <cmath>

#include "tools/art/tile_catalogue.h"

namespace kavro_art {

namespace {

// Periodic value noise: the grid wraps every `period` pixels so tiles join seamlessly.
float PeriodicNoise(int x, int y, int cell, int period, uint32_t seed) {
    int cells = period / cell;
    float gx = static_cast<float>(x) / cell, gy = static_cast<float>(y) / cell;
    int ix = static_cast<int>(std::floor(gx)), iy = static_cast<int>(std::floor(gy));
    float fx = gx - ix, fy = gy - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    auto at = [&](int i, int j) {
        return Noise01(((i % cells) + cells) % cells, ((j % cells) + cells) % cells, seed);
    };
    float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * fx;
    float bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * fx;
    return top + (bottom - top) * fy;
}

// Nearest and second-nearest distances to periodic feature points (one per 16 x 16 block),
// and the id of the nearest: the rounded stones of rock textures.
struct Cells {
    float d1, d2;
    uint32_t id;
    float fx, fy;  // offset of the pixel from the nearest point
};

Cells Voronoi(int x, int y, uint32_t seed) {
    constexpr int kBlock = 16, kBlocks = 2;
    Cells best{1e9f, 1e9f, 0, 0, 0};
    int bx = x / kBlock, by = y / kBlock;
    for (int j = by - 1; j <= by + 1; ++j)
        for (int i = bx - 1; i <= bx + 1; ++i) {
            int wi = ((i % kBlocks) + kBlocks) % kBlocks, wj = ((j % kBlocks) + kBlocks) % kBlocks;
            uint32_t h = Hash(wi, wj, seed);
            float px = i * kBlock + 3 + (h & 0xFF) / 255.0f * (kBlock - 6);
            float py = j * kBlock + 3 + ((h >> 8) & 0xFF) / 255.0f * (kBlock - 6);
            float dx = x + 0.5f - px, dy = y + 0.5f - py;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d < best.d1) {
                best.d2 = best.d1;
                best.d1 = d;
                best.id = h;
                best.fx = dx;
                best.fy = dy;
            } else if (d < best.d2) {
                best.d2 = d;
            }
        }
    return best;
}

Rgb StoneShade(Rgb base, int x, int y, uint32_t seed, float contrast) {
    Cells c = Voronoi(x, y, seed);
    float edge = c.d2 - c.d1;  // small near the seam between two stones
    float tone = 0.9f + ((c.id >> 16) & 0xFF) / 255.0f * 0.2f;
    float light = 1.0f - (c.fx + c.fy) / 28.0f * contrast;  // lit from the top left
    Rgb col = Shade(base, tone * std::clamp(light, 0.7f, 1.25f));
    col = Shade(col, 0.94f + PeriodicNoise(x, y, 4, 32, seed + 7) * 0.12f);
    if (edge < 1.6f) return Shade(base, 0.55f);
    if (edge < 2.6f) return Shade(col, 0.8f);
    return col;
}

}  // namespace

Rgb DirtAt(int x, int y) {
    float n = PeriodicNoise(x, y, 8, 32, 11) * 0.22f + PeriodicNoise(x, y, 4, 32, 12) * 0.1f;
    Rgb c = Shade(kDirt, 0.86f + n);
    // Pebbles: a few small stones at fixed places of the tile.
    static const int kPebbles[][3] = {{6, 14, 2},  {22, 9, 2}, {15, 25, 3},
                                      {27, 22, 1}, {3, 28, 1}, {11, 5, 1}};
    for (const auto& p : kPebbles) {
        float dx = x - p[0], dy = y - p[1];
        float d2 = dx * dx + dy * dy * 1.6f;
        if (d2 <= p[2] * p[2]) {
            Rgb stone = Mix(kDirt, Rgb{206, 176, 140}, 0.6f);
            return dx + dy < 0 ? Shade(stone, 1.12f) : stone;
        }
        if (d2 <= (p[2] + 1) * (p[2] + 1) && dy > 0) return Shade(kDirt, 0.7f);
    }
    if (Noise01(x, y, 13) > 0.93f) return Shade(kDirt, 0.72f);
    return c;
}

int TurfDepth(int x) {
    static const int kDepth[32] = {7, 8, 7, 6, 7, 9, 8, 7, 6, 7, 8, 7, 7, 9, 10, 8,
                                   7, 6, 7, 8, 7, 6, 7, 8, 9, 8, 7, 6, 7, 8, 7,  7};
    return kDepth[((x % 32) + 32) % 32];
}

Rgb GrassAt(int x, int d) {
    if (d <= 1) return kGrassLight;
    Rgb c = d < 4 ? kGrass : Mix(kGrass, kGrassDark, (d - 3) / 5.0f);
    if ((x * 7 + d * 3) % 11 == 0) c = Shade(c, 1.12f);  // blades catching light
    return c;
}

Rgb RockAt(int x, int y) {
    return StoneShade(kRock, x, y, 21, 1.0f);
}

Rgb CaveAt(int x, int y) {
    Rgb c = StoneShade(kCave, x, y, 31, 0.6f);
    return Shade(c, 0.92f + PeriodicNoise(x, y, 16, 32, 33) * 0.12f);
}

Rgb BrickAt(int x, int y) {
    int row = y / 8, yy = y % 8;
    int offset = (row % 2) ? 8 : 0;
    int xx = (x + offset) % 16;
    if (yy == 7 || xx == 15) return kMortar;
    uint32_t id = Hash((x + offset) / 16 + 7, row, 41);
    Rgb c = Shade(kBrick, 0.88f + (id & 0xFF) / 255.0f * 0.2f);
    if (yy == 0 || xx == 0) c = Shade(c, 1.14f);
    if (yy == 6 || xx == 14) c = Shade(c, 0.82f);
    return Shade(c, 0.95f + Noise01(x, y, 43) * 0.08f);
}

Rgb WoodAt(int x, int y) {
    float grain = std::sin((x * 0.35f) + PeriodicNoise(x, y, 8, 32, 51) * 5.0f + y * 1.7f);
    Rgb c = Shade(kWood, 0.92f + grain * 0.07f);
    if (Noise01(x / 3, y, 52) > 0.85f) c = Shade(c, 0.88f);
    return c;
}

bool AutotileInside(int x, int y, int mask, int r) {
    auto corner = [&](bool open_a, bool open_b, int dx, int dy) {
        // dx, dy: distance from the corner along each side.
        if (!open_a || !open_b || dx >= r || dy >= r) return true;
        float cx = r - dx - 0.5f, cy = r - dy - 0.5f;
        return cx * cx + cy * cy <= r * r + 0.5f;
    };
    bool up = !(mask & kJoinUp), right = !(mask & kJoinRight), down = !(mask & kJoinDown),
         left = !(mask & kJoinLeft);
    return corner(left, up, x, y) && corner(right, up, 31 - x, y) &&
           corner(left, down, x, 31 - y) && corner(right, down, 31 - x, 31 - y);
}

bool AutotileRim(int x, int y, int mask, int r) {
    if (!AutotileInside(x, y, mask, r)) return false;
    if ((x == 0 && !(mask & kJoinLeft)) || (x == 31 && !(mask & kJoinRight)) ||
        (y == 0 && !(mask & kJoinUp)) || (y == 31 && !(mask & kJoinDown)))
        return true;
    static const int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& s : kSteps) {
        int nx = x + s[0], ny = y + s[1];
        if (nx >= 0 && ny >= 0 && nx < 32 && ny < 32 && !AutotileInside(nx, ny, mask, r))
            return true;
    }
    return false;
}

void Finish(Canvas& c, int x, int y, int w, int h) {
    Canvas before = c;
    auto clear = [&](int i, int j) {
        return i < x || j < y || i >= x + w || j >= y + h || before.Get(i, j) == kClear;
    };
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            if (clear(i, j)) continue;
            Rgb p = before.Get(i, j);
            if (p == kInk) continue;
            if (clear(i, j - 1) || clear(i - 1, j))
                c.Set(i, j, Shade(p, 1.16f));
            else if (clear(i, j + 1) || clear(i + 1, j))
                c.Set(i, j, Shade(p, 0.74f));
        }
    c.Outline(x, y, w, h, kInk);
}

void Finish(Canvas& c) {
    Finish(c, 0, 0, c.width(), c.height());
}

}  // namespace kavro_art

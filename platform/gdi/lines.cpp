// Lines: LineTo from the current position with the pen through the raster operation. The end
// point is not drawn, so lines joined end to start touch each pixel once.
#include <cmath>
#include <cstdlib>

#include "platform/gdi/gdi_internal.h"

namespace {

// Lines longer than this are first cut to the pixels (plus the pen's reach), so that far-away
// end points cost nothing.
constexpr int64_t kDirectReach = int64_t{1} << 20;

// Cuts the segment to the box; false when nothing of it is inside. `keep_end` tells whether the
// end point survived (then it is still left undrawn).
bool ClipSegment(double box_l, double box_t, double box_r, double box_b, int64_t* x0, int64_t* y0,
                 int64_t* x1, int64_t* y1, bool* keep_end) {
    const double ax = static_cast<double>(*x0), ay = static_cast<double>(*y0);
    const double dx = static_cast<double>(*x1) - ax, dy = static_cast<double>(*y1) - ay;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - box_l, box_r - ax, ay - box_t, box_b - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) {
            if (r > t1) return false;
            if (r > t0) t0 = r;
        } else {
            if (r < t0) return false;
            if (r < t1) t1 = r;
        }
    }
    *keep_end = t1 >= 1;
    *x0 = std::llround(ax + t0 * dx);
    *y0 = std::llround(ay + t0 * dy);
    *x1 = std::llround(ax + t1 * dx);
    *y1 = std::llround(ay + t1 * dy);
    return true;
}

}  // namespace

BOOL LineTo(HDC dc, int x, int y) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c) return FALSE;
    int64_t x0 = c->position.x, y0 = c->position.y, x1 = x, y1 = y;
    c->position = POINT{x, y};
    if (!c->pen || c->pen->null) return TRUE;

    const GdiSurface& s = c->pixels;
    const int64_t w = c->pen->pen_width;
    bool skip_end = true;
    if (std::llabs(x0) > kDirectReach || std::llabs(y0) > kDirectReach ||
        std::llabs(x1) > kDirectReach || std::llabs(y1) > kDirectReach) {
        const double m = static_cast<double>(w + 1);
        if (!ClipSegment(-m, -m, s.width + m, s.height + m, &x0, &y0, &x1, &y1, &skip_end)) {
            return TRUE;
        }
    }

    const GdiSpanWriter pen(s, Gdi_PixelFromColour(s.format, c->pen->colour), c->rop2);
    const int64_t dx = std::llabs(x1 - x0), dy = std::llabs(y1 - y0);
    const int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    const int64_t steps = (dx > dy ? dx : dy) + (skip_end ? 0 : 1);
    // A wide pen covers `w` pixels across the line's main direction at each step.
    const int64_t before = (w - 1) / 2, after = w - 1 - before;
    int64_t err = dx - dy;
    int64_t px = x0, py = y0;
    for (int64_t i = 0; i < steps; ++i) {
        if (w == 1) {
            pen.Pixel(px, py);
        } else if (dx >= dy) {
            for (int64_t k = py - before; k <= py + after; ++k) pen.Pixel(px, k);
        } else {
            pen.Span(py, px - before, px + after);
        }
        const int64_t e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            px += sx;
        }
        if (e2 < dx) {
            err += dx;
            py += sy;
        }
    }
    return TRUE;
}

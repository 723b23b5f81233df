// Closed shapes: Rectangle, RoundRect and Ellipse. Each is convex, so it is one run of pixels per
// row; the pen draws the shape's rim (the pixels within the pen width of its outside, measured
// along rows and columns) and the brush the rest, every pixel once, through the raster
// operation. With a null pen the shape loses its last column and row, as the device's do.
#include <cmath>
#include <utility>

#include "platform/gdi/gdi_internal.h"

namespace {

struct Run {
    int64_t x0, x1;  // inclusive; empty when x0 > x1
};
constexpr Run kNoRun{1, 0};

class Shape {
  public:
    virtual ~Shape() = default;
    virtual Run Row(int64_t y) const = 0;
    int64_t top = 0, bottom = 0;  // rows top..bottom-1
};

class RectShape : public Shape {
  public:
    RectShape(int64_t l, int64_t t, int64_t r, int64_t b) : left_(l), right_(r) {
        top = t;
        bottom = b;
    }
    Run Row(int64_t y) const override {
        if (y < top || y >= bottom || left_ >= right_) return kNoRun;
        return Run{left_, right_ - 1};
    }

  private:
    int64_t left_, right_;
};

// The pixels whose centres lie inside the ellipse that touches the box's outer edges.
class EllipseShape : public Shape {
  public:
    EllipseShape(int64_t l, int64_t t, int64_t r, int64_t b)
        : cx_((static_cast<double>(l) + static_cast<double>(r)) / 2),
          cy_((static_cast<double>(t) + static_cast<double>(b)) / 2),
          rx_((static_cast<double>(r) - static_cast<double>(l)) / 2),
          ry_((static_cast<double>(b) - static_cast<double>(t)) / 2),
          left_(l),
          right_(r) {
        top = t;
        bottom = b;
    }
    Run Row(int64_t y) const override {
        if (y < top || y >= bottom || left_ >= right_) return kNoRun;
        const double dy = (static_cast<double>(y) + 0.5 - cy_) / ry_;
        const double q = 1 - dy * dy;
        if (q < 0) return kNoRun;
        const double hw = rx_ * std::sqrt(q);
        constexpr double kSlack = 1e-9;
        Run run{static_cast<int64_t>(std::ceil(cx_ - hw - 0.5 - kSlack)),
                static_cast<int64_t>(std::floor(cx_ + hw - 0.5 + kSlack))};
        if (run.x0 < left_) run.x0 = left_;
        if (run.x1 > right_ - 1) run.x1 = right_ - 1;
        return run;
    }

  private:
    double cx_, cy_, rx_, ry_;
    int64_t left_, right_;
};

// A rectangle whose corners are quarters of a corner_width × corner_height ellipse.
class RoundRectShape : public Shape {
  public:
    RoundRectShape(int64_t l, int64_t t, int64_t r, int64_t b, int64_t cw, int64_t ch)
        : corner_(l, t, l + cw, t + ch), left_(l), right_(r), half_(ch / 2) {
        top = t;
        bottom = b;
    }
    Run Row(int64_t y) const override {
        if (y < top || y >= bottom || left_ >= right_) return kNoRun;
        int64_t corner_row = -1;
        if (y - top < half_) corner_row = y;
        if (bottom - 1 - y < half_) corner_row = top + (bottom - 1 - y);
        if (corner_row < 0) return Run{left_, right_ - 1};
        const Run e = corner_.Row(corner_row);
        if (e.x0 > e.x1) return kNoRun;
        const int64_t inset = e.x0 - left_;
        return Run{left_ + inset, right_ - 1 - inset};
    }

  private:
    EllipseShape corner_;
    int64_t left_, right_, half_;
};

Run Intersect(Run a, Run b) {
    return Run{a.x0 > b.x0 ? a.x0 : b.x0, a.x1 < b.x1 ? a.x1 : b.x1};
}

// The part of row y that lies deeper than `w` pixels inside the shape (rows and columns count
// one step each).
Run Inside(const Shape& shape, int64_t y, int64_t w) {
    Run in = shape.Row(y);
    in.x0 += w;
    in.x1 -= w;
    for (int64_t k = 1; k <= w && in.x0 <= in.x1; ++k) {
        for (int64_t yy : {y - k, y + k}) {
            Run r = shape.Row(yy);
            r.x0 += w - k;
            r.x1 -= w - k;
            in = Intersect(in, r);
        }
    }
    return in;
}

void Draw(DeviceContext* c, const Shape& shape) {
    const GdiSurface& s = c->pixels;
    const bool pen = c->pen && !c->pen->null;
    const bool brush = c->brush && !c->brush->null;
    const int64_t w = pen ? c->pen->pen_width : 0;
    const GdiSpanWriter pen_writer(s, pen ? Gdi_PixelFromColour(s.format, c->pen->colour) : 0,
                                   c->rop2);
    const GdiSpanWriter brush_writer(s, brush ? Gdi_PixelFromColour(s.format, c->brush->colour) : 0,
                                     c->rop2);
    const int64_t from = shape.top < 0 ? 0 : shape.top;
    const int64_t to = shape.bottom > s.height ? s.height : shape.bottom;
    for (int64_t y = from; y < to; ++y) {
        const Run row = shape.Row(y);
        if (row.x0 > row.x1) continue;
        const Run in = w > 0 ? Inside(shape, y, w) : row;
        if (in.x0 > in.x1) {
            if (pen) pen_writer.Span(y, row.x0, row.x1);
            continue;
        }
        if (pen) {
            pen_writer.Span(y, row.x0, in.x0 - 1);
            pen_writer.Span(y, in.x1 + 1, row.x1);
        }
        if (brush) brush_writer.Span(y, in.x0, in.x1);
    }
}

struct Box {
    int64_t l, t, r, b;
};

// Shapes take their box in either corner order; a null pen drops the last column and row.
Box Normalise(const DeviceContext* c, int64_t l, int64_t t, int64_t r, int64_t b) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (!c->pen || c->pen->null) {
        --r;
        --b;
    }
    return Box{l, t, r, b};
}

}  // namespace

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c) return FALSE;
    const Box b = Normalise(c, left, top, right, bottom);
    Draw(c, RectShape(b.l, b.t, b.r, b.b));
    return TRUE;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c) return FALSE;
    const Box b = Normalise(c, left, top, right, bottom);
    Draw(c, EllipseShape(b.l, b.t, b.r, b.b));
    return TRUE;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int corner_width,
               int corner_height) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c) return FALSE;
    const Box b = Normalise(c, left, top, right, bottom);
    int64_t cw = corner_width < 0 ? -int64_t{corner_width} : corner_width;
    int64_t ch = corner_height < 0 ? -int64_t{corner_height} : corner_height;
    if (cw > b.r - b.l) cw = b.r - b.l;
    if (ch > b.b - b.t) ch = b.b - b.t;
    if (cw < 2 || ch < 2) {
        Draw(c, RectShape(b.l, b.t, b.r, b.b));
    } else {
        Draw(c, RoundRectShape(b.l, b.t, b.r, b.b, cw, ch));
    }
    return TRUE;
}

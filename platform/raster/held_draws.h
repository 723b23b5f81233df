// Rectangle draws held back until their target's pixels are needed, then drawn band by band
// with every part that a later opaque draw covers left out. Both software stand-ins keep their
// own record of what a draw needs (its texels, its row loop) beside the rectangle; the planning
// of what shows is the same for both and lives here.
//
// Why the result equals drawing each rectangle at once: bands are bounded by every rectangle's
// top and bottom edge, so a rectangle covers whole bands; within a band a pixel's colour
// depends only on the draws over it since the last opaque one, and those are drawn in the order
// they came. Bands are drawn top to bottom, so a band's rows stay in the cache while all its
// draws pass over them.
#pragma once
#include <cstdint>
#include <vector>

namespace raster {

// A held-back draw's pixels on its target: columns [x0, x1), rows [y0, y1), non-empty and
// inside the target. `opaque`: the draw writes every one of them whatever the target held, so
// nothing drawn under it before can show.
struct HeldRect {
    int32_t x0, y0, x1, y1;
    bool opaque;
};

// A part of held-back draw `draw` that shows: columns [x0, x1), rows [y0, y1).
struct HeldPiece {
    uint32_t draw;
    int32_t x0, x1, y0, y1;
};

// The planner: which parts of the held-back rectangles show, in an order that draws them right.
// Its scratch memory is kept from one flush to the next.
class VisibleParts {
  public:
    // Finds the parts of rects[0..count) that show on a target `height` rows high, band by
    // band and, within a band, in the order of the draws (Pieces() and PieceCount() until the
    // next plan). Returns the pixels left out.
    uint64_t Plan(const HeldRect* rects, uint32_t count, int32_t height);
    const HeldPiece* Pieces() const { return pieces_.data(); }
    uint32_t PieceCount() const { return piece_count_; }

  private:
    struct Run {
        int32_t x0, x1;
    };
    // Room for the runs of a partly covered entry `width` columns wide after `used` runs, with
    // a run for each of the `entries_left` entries still to come; where the runs now are.
    Run* RunRoom(uint32_t used, uint32_t entries_left, int32_t width);

    std::vector<uint8_t> edge_;         // per row: a band starts here
    std::vector<int32_t> band_of_row_;  // per row: its band
    std::vector<int32_t> band_top_;     // first row of each band, then the height
    std::vector<uint32_t> band_first_;  // first entry of each band, then the end
    std::vector<uint32_t> band_fill_;
    std::vector<uint32_t> entries_;   // the draws of each band in turn, in their order
    std::vector<uint32_t> run_ends_;  // per entry of a band: the end of its runs in runs_
    std::vector<Run> runs_;           // a band's open runs, entry by entry (its size is only room)
    std::vector<HeldPiece> pieces_;   // its size is only room: piece_count_ are in use
    uint32_t piece_count_ = 0;
    // The band's columns that later opaque draws cover, one bit per column.
    std::vector<uint64_t> cover_;
};

// The queue of one stand-in: its draws' records (`Draw`) beside their rectangles.
template <class Draw>
class HeldDraws {
  public:
    bool Empty() const { return count_ == 0; }
    size_t Size() const { return count_; }
    // The record of the next draw, to be filled where it stays (a record just written and then
    // copied stalls on its own stores). Hold keeps it; otherwise the next call gives it again.
    Draw& Next() {
        if (draws_.size() == count_) [[unlikely]]
            Grow();
        return draws_[count_];
    }
    // Keeps the record Next gave, drawn on `rect`.
    void Hold(const HeldRect& rect) { rects_[count_++] = rect; }
    // Calls fill(draw, x0, x1, y0, y1) for every part that shows, in the order that draws
    // them right, and empties the queue (keeping its memory). Returns the pixels left out.
    template <class Fill>
    uint64_t Flush(int32_t height, Fill&& fill) {
        uint64_t hidden = 0;
        if (count_ == 1) {
            const HeldRect& r = rects_[0];
            fill(draws_[0], r.x0, r.x1, r.y0, r.y1);
        } else if (count_ > 1) {
            hidden = planner_.Plan(rects_.data(), count_, height);
            const HeldPiece* pieces = planner_.Pieces();
            for (uint32_t i = 0, n = planner_.PieceCount(); i < n; ++i) {
                const HeldPiece& p = pieces[i];
                fill(draws_[p.draw], p.x0, p.x1, p.y0, p.y1);
            }
        }
        count_ = 0;
        return hidden;
    }

  private:
    [[gnu::noinline]] void Grow() {
        draws_.resize(count_ ? count_ * 2 : 256);
        rects_.resize(draws_.size());
    }

    // Both only grow; count_ of them are held.
    std::vector<HeldRect> rects_;
    std::vector<Draw> draws_;
    uint32_t count_ = 0;
    VisibleParts planner_;
};

}  // namespace raster

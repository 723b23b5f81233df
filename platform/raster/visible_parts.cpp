// The planner of held-back draws: bands of rows bounded by the rectangles' top and bottom edges
// (so each rectangle covers whole bands), in each band a pass from the last draw to the first
// that finds what later opaque draws leave open, then the draws in their own order over just
// those parts. The cover of a band is a bit per column, so a draw costs a few word operations
// for every 64 columns it spans.
#include <algorithm>

#include "platform/raster/held_draws.h"

namespace raster {

void VisibleParts::ReserveRuns(uint32_t used, uint32_t more) {
    if (runs_.size() < size_t{used} + more) runs_.resize((size_t{used} + more) * 2);
}

uint64_t VisibleParts::Plan(const HeldRect* rects, uint32_t count, int32_t height) {
    piece_count_ = 0;
    // Bands: a new one starts at row 0 and at every top or bottom edge.
    edge_.assign(static_cast<size_t>(height) + 1, 0);
    int32_t right = 0;
    for (uint32_t i = 0; i < count; ++i) {
        edge_[rects[i].y0] = 1;
        edge_[rects[i].y1] = 1;
        right = std::max(right, rects[i].x1);
    }
    edge_[0] = 1;
    band_of_row_.resize(static_cast<size_t>(height));
    band_top_.clear();
    int32_t band = -1;
    for (int32_t y = 0; y < height; ++y) {
        band += edge_[y];
        if (edge_[y]) band_top_.push_back(y);
        band_of_row_[y] = band;
    }
    band_top_.push_back(height);
    const int32_t bands = band + 1;

    // Each band's entries in the order of the draws: count, then place by prefix sums.
    band_first_.assign(static_cast<size_t>(bands) + 1, 0);
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t last = band_of_row_[rects[i].y1 - 1];
        for (int32_t b = band_of_row_[rects[i].y0]; b <= last; ++b) ++band_first_[b + 1];
    }
    for (int32_t b = 0; b < bands; ++b) band_first_[b + 1] += band_first_[b];
    entries_.resize(band_first_[bands]);
    band_fill_.assign(band_first_.begin(), band_first_.end() - 1);
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t last = band_of_row_[rects[i].y1 - 1];
        for (int32_t b = band_of_row_[rects[i].y0]; b <= last; ++b)
            entries_[band_fill_[b]++].draw = i;
    }

    const int32_t words = (right + 63) >> 6;
    if (static_cast<int32_t>(cover_.size()) < words) cover_.resize(words);
    uint64_t* const cover = cover_.data();
    uint64_t hidden = 0;
    for (int32_t b = 0; b < bands; ++b) {
        const uint32_t first = band_first_[b], end = band_first_[b + 1];
        if (first == end) continue;
        const int32_t top = band_top_[b], bottom = band_top_[b + 1];
        std::fill(cover, cover + words, uint64_t{0});
        uint32_t used = 0;
        // Last to first: what is still open when a draw's turn comes is what it shows.
        for (uint32_t k = end; k-- > first;) {
            Entry& e = entries_[k];
            const HeldRect& r = rects[e.draw];
            // At most one run for every two columns, plus one.
            ReserveRuns(used, static_cast<uint32_t>(r.x1 - r.x0) / 2 + 1);
            Run* const runs = runs_.data();
            e.first_run = used;
            int32_t shown = 0;
            int32_t start = -1;  // where the open run being followed began
            const int32_t w0 = r.x0 >> 6, w1 = (r.x1 - 1) >> 6;
            for (int32_t w = w0; w <= w1; ++w) {
                uint64_t valid = ~uint64_t{0};
                if (w == w0) valid <<= r.x0 & 63;
                if (w == w1) valid &= ~uint64_t{0} >> (63 - ((r.x1 - 1) & 63));
                const uint64_t open = ~cover[w] & valid;
                const int32_t base = w << 6;
                if (open == valid) {
                    if (start < 0) start = base + __builtin_ctzll(valid);
                } else if (open == 0) {
                    if (start >= 0) {
                        const int32_t stop = base + __builtin_ctzll(valid);
                        runs[used++] = Run{start, stop};
                        shown += stop - start;
                        start = -1;
                    }
                } else {
                    // Alternately the next open column and the next covered one in the word.
                    const uint64_t closed = ~open & valid;
                    int32_t pos = __builtin_ctzll(valid);
                    for (;;) {
                        if (start < 0) {
                            const uint64_t rest = open >> pos;
                            if (rest == 0) break;
                            pos += __builtin_ctzll(rest);
                            start = base + pos;
                        } else {
                            const uint64_t rest = closed >> pos;
                            if (rest == 0) break;
                            pos += __builtin_ctzll(rest);
                            runs[used++] = Run{start, base + pos};
                            shown += base + pos - start;
                            start = -1;
                        }
                    }
                }
                if (r.opaque) cover[w] |= valid;
            }
            if (start >= 0) {
                runs[used++] = Run{start, r.x1};
                shown += r.x1 - start;
            }
            e.run_count = used - e.first_run;
            hidden += static_cast<uint64_t>(r.x1 - r.x0 - shown) * (bottom - top);
        }
        // First to last: the draws over what they show. (Written field by field: a whole
        // record built and copied stalls on its own store.)
        if (pieces_.size() < size_t{piece_count_} + used)
            pieces_.resize((size_t{piece_count_} + used) * 2);
        HeldPiece* out = pieces_.data() + piece_count_;
        const Run* const runs = runs_.data();
        for (uint32_t k = first; k < end; ++k) {
            const Entry& e = entries_[k];
            for (uint32_t s = 0; s < e.run_count; ++s) {
                const Run& run = runs[e.first_run + s];
                out->draw = e.draw;
                out->x0 = run.x0;
                out->x1 = run.x1;
                out->y0 = top;
                out->y1 = bottom;
                ++out;
            }
        }
        piece_count_ = static_cast<uint32_t>(out - pieces_.data());
    }
    return hidden;
}

}  // namespace raster

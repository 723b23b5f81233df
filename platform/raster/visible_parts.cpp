// The planner of held-back draws: bands of rows bounded by the rectangles' top and bottom edges
// (so each rectangle covers whole bands), in each band a pass from the last draw to the first
// that finds what later opaque draws leave open, then the draws in their own order over just
// those parts. The cover of a band is a bit per column, and the open runs of a word are found
// with a few bit operations, so a draw costs little more than the runs it shows.
#include <algorithm>

#include "platform/raster/held_draws.h"

namespace raster {

namespace {

// Appends the runs of columns [x0, x1) that `cover` leaves open to `runs` and returns their
// width, a word of 64 columns at a time. m + (lowest bit of m) clears the lowest run of ones in
// m and carries into the bit after it, whose index is where the run ends (none: at the word's
// end, and the run may go on in the next word).
template <class Run>
int32_t AppendOpenRuns(const uint64_t* cover, int32_t x0, int32_t x1, Run* runs, uint32_t* used) {
    int32_t shown = 0;
    int32_t start = -1;  // a run that reached the end of the word before
    const int32_t w0 = x0 >> 6, w1 = (x1 - 1) >> 6;
    for (int32_t w = w0; w <= w1; ++w) {
        uint64_t valid = ~uint64_t{0};
        if (w == w0) valid <<= x0 & 63;
        if (w == w1) valid &= ~uint64_t{0} >> (63 - ((x1 - 1) & 63));
        uint64_t open = ~cover[w] & valid;
        const int32_t base = w << 6;
        if (start >= 0) {
            // It goes on here only if this word's first column is open.
            if (!(open & 1)) {
                runs[(*used)++] = Run{start, base};
                shown += base - start;
                start = -1;
            } else {
                const uint64_t next = open + 1;
                if (next == 0) continue;  // open to the end of this word too
                const int32_t stop = base + __builtin_ctzll(next);
                runs[(*used)++] = Run{start, stop};
                shown += stop - start;
                start = -1;
                open &= next;
            }
        }
        while (open) {
            const int32_t from = __builtin_ctzll(open);
            const uint64_t next = open + (open & (~open + 1));
            if (next == 0) {
                start = base + from;
                break;
            }
            const int32_t to = __builtin_ctzll(next);
            runs[(*used)++] = Run{base + from, base + to};
            shown += to - from;
            open &= next;
        }
    }
    if (start >= 0) {
        runs[(*used)++] = Run{start, x1};
        shown += x1 - start;
    }
    return shown;
}

}  // namespace

VisibleParts::Run* VisibleParts::RunRoom(uint32_t used, uint32_t entries_left, int32_t width) {
    const size_t wanted = size_t{used} + entries_left + static_cast<uint32_t>(width) / 2 + 1;
    if (runs_.size() < wanted) runs_.resize(wanted * 2);
    return runs_.data();
}

uint64_t VisibleParts::Plan(const HeldRect* rects, uint32_t count, int32_t height) {
    piece_count_ = 0;
    // Bands: a new one starts at row 0 and at every top or bottom edge.
    edge_.assign(static_cast<size_t>(height) + 1, 0);
    uint8_t* const edge = edge_.data();
    int32_t right = 0;
    for (uint32_t i = 0; i < count; ++i) {
        edge[rects[i].y0] = 1;
        edge[rects[i].y1] = 1;
        right = std::max(right, rects[i].x1);
    }
    edge[0] = 1;
    band_of_row_.resize(static_cast<size_t>(height));
    band_top_.resize(static_cast<size_t>(height) + 1);
    int32_t* const band_of_row = band_of_row_.data();
    int32_t* const band_top = band_top_.data();
    int32_t bands = 0;
    for (int32_t y = 0; y < height; ++y) {
        if (edge[y]) band_top[bands++] = y;
        band_of_row[y] = bands - 1;
    }
    band_top[bands] = height;

    // Each band's entries in the order of the draws: count, then place by prefix sums. The
    // draws come mostly band after band, each within one band: the count or place of the band
    // at hand is kept aside (not loaded and stored again for every draw).
    band_first_.assign(static_cast<size_t>(bands) + 2, 0);
    uint32_t* const band_first = band_first_.data();
    int32_t current = bands;  // the band kept aside (the spare last slot when none)
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t first = band_of_row[rects[i].y0], last = band_of_row[rects[i].y1 - 1];
        if (first == last) {
            if (first != current) {
                band_first[current + 1] += kept;
                current = first;
                kept = 0;
            }
            ++kept;
        } else {
            for (int32_t b = first; b <= last; ++b) ++band_first[b + 1];
        }
    }
    band_first[current + 1] += kept;
    for (int32_t b = 0; b < bands; ++b) band_first[b + 1] += band_first[b];
    entries_.resize(band_first[bands]);
    run_ends_.resize(band_first[bands]);
    band_fill_.assign(band_first, band_first + bands + 1);
    uint32_t* const entries = entries_.data();
    uint32_t* const band_fill = band_fill_.data();
    current = bands;
    uint32_t at = band_fill[current];
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t first = band_of_row[rects[i].y0], last = band_of_row[rects[i].y1 - 1];
        if (first == last) {
            if (first != current) {
                band_fill[current] = at;
                current = first;
                at = band_fill[current];
            }
            entries[at++] = i;
        } else {
            band_fill[current] = at;
            for (int32_t b = first; b <= last; ++b) entries[band_fill[b]++] = i;
            at = band_fill[current];
        }
    }

    const int32_t words = (right + 63) >> 6;
    if (static_cast<int32_t>(cover_.size()) < words) cover_.resize(words);
    uint64_t* const cover = cover_.data();
    uint32_t pieces = 0;
    uint32_t* const run_ends = run_ends_.data();
    uint64_t hidden = 0;
    for (int32_t b = 0; b < bands; ++b) {
        const uint32_t first = band_first[b], end = band_first[b + 1];
        if (first == end) continue;
        const int32_t top = band_top[b], rows = band_top[b + 1] - top;
        std::fill(cover, cover + words, uint64_t{0});
        // Room for a run of every entry; the runs of an entry that is partly covered, at most
        // one for every two columns and one more, are made room for as they come.
        if (runs_.size() < end - first) runs_.resize((end - first) * 2);
        Run* runs = runs_.data();
        uint32_t used = 0;
        // Last to first: what is still open when a draw's turn comes is what it shows.
        for (uint32_t k = end; k-- > first;) {
            const HeldRect& r = rects[entries[k]];
            const int32_t x0 = r.x0, x1 = r.x1;
            const int32_t w0 = x0 >> 6, w1 = (x1 - 1) >> 6;
            if (w1 - w0 <= 1) {
                // Within two words (every tile): most often all open or all covered.
                const uint64_t head = ~uint64_t{0} << (x0 & 63);
                const uint64_t tail = ~uint64_t{0} >> (63 - ((x1 - 1) & 63));
                const uint64_t lo = w0 == w1 ? head & tail : head;
                const uint64_t hi = w0 == w1 ? 0 : tail;
                const uint64_t covered_lo = cover[w0] & lo, covered_hi = cover[w1] & hi;
                if ((covered_lo | covered_hi) == 0) {
                    runs[used++] = Run{x0, x1};
                } else if (covered_lo == lo && covered_hi == hi) {
                    hidden += static_cast<uint64_t>(x1 - x0) * rows;
                } else {
                    runs = RunRoom(used, k - first, x1 - x0);
                    const int32_t shown = AppendOpenRuns(cover, x0, x1, runs, &used);
                    hidden += static_cast<uint64_t>(x1 - x0 - shown) * rows;
                }
                if (r.opaque) {
                    cover[w0] |= lo;
                    cover[w1] |= hi;
                }
            } else {
                runs = RunRoom(used, k - first, x1 - x0);
                const int32_t shown = AppendOpenRuns(cover, x0, x1, runs, &used);
                hidden += static_cast<uint64_t>(x1 - x0 - shown) * rows;
                if (r.opaque) {
                    for (int32_t w = w0; w <= w1; ++w) {
                        uint64_t valid = ~uint64_t{0};
                        if (w == w0) valid <<= x0 & 63;
                        if (w == w1) valid &= ~uint64_t{0} >> (63 - ((x1 - 1) & 63));
                        cover[w] |= valid;
                    }
                }
            }
            run_ends[k] = used;
        }
        // First to last: the draws over what they show; an entry's runs end where the next
        // one's (found before it) begin. (Written field by field: a whole record built and
        // copied stalls on its own stores.)
        if (pieces_.size() < size_t{pieces} + used) pieces_.resize((size_t{pieces} + used) * 2);
        HeldPiece* out = pieces_.data() + pieces;
        for (uint32_t k = first; k < end; ++k) {
            const uint32_t from = k + 1 < end ? run_ends[k + 1] : 0;
            for (uint32_t n = from; n < run_ends[k]; ++n) {
                out->draw = entries[k];
                out->x0 = runs[n].x0;
                out->x1 = runs[n].x1;
                out->y0 = top;
                out->y1 = top + rows;
                ++out;
            }
        }
        pieces += used;
    }
    piece_count_ = pieces;
    return hidden;
}

}  // namespace raster

// The queue of held-back rectangle draws and its flush: bands of rows bounded by the
// rectangles' top and bottom edges (so each rectangle covers whole bands), in each band a pass
// from the last draw to the first that finds what later opaque draws leave visible, then the
// draws in their own order over just those parts.
#include "platform/d3d9/raster_queue.h"

#include <algorithm>

void RasterQueue::Add(const RasterSetup& setup, const RasterRect& rect) {
    items_.push_back(Item{setup, rect});
}

void RasterQueue::Flush(RasterCounters* counters) {
    if (items_.empty()) return;
    if (items_.size() == 1) {
        const Item& only = items_[0];
        Raster_FillRectangle(only.setup, only.rect, only.rect.x0, only.rect.x1, only.rect.y0,
                             only.rect.y1);
    } else {
        FlushBands(counters);
    }
    items_.clear();
}

void RasterQueue::AddVisible(int32_t x0, int32_t x1) {
    int32_t from = x0;
    for (const Span& c : covered_) {
        if (c.x1 <= from) continue;
        if (c.x0 >= x1) break;
        if (c.x0 > from) spans_.push_back(Span{from, c.x0});
        from = std::max(from, c.x1);
        if (from >= x1) return;
    }
    if (from < x1) spans_.push_back(Span{from, x1});
}

void RasterQueue::Cover(int32_t x0, int32_t x1) {
    // Intervals stay sorted, disjoint and apart: touching ones merge.
    size_t i = 0;
    while (i < covered_.size() && covered_[i].x1 < x0) ++i;
    size_t j = i;
    while (j < covered_.size() && covered_[j].x0 <= x1) {
        x0 = std::min(x0, covered_[j].x0);
        x1 = std::max(x1, covered_[j].x1);
        ++j;
    }
    if (i == j) {
        covered_.insert(covered_.begin() + static_cast<ptrdiff_t>(i), Span{x0, x1});
    } else {
        covered_[i] = Span{x0, x1};
        covered_.erase(covered_.begin() + static_cast<ptrdiff_t>(i + 1),
                       covered_.begin() + static_cast<ptrdiff_t>(j));
    }
}

void RasterQueue::FlushBands(RasterCounters* counters) {
    const RasterImage& target = items_[0].setup.target;
    const int32_t height = target.height;

    // Bands: a new one starts at row 0 and at every top or bottom edge.
    edge_.assign(static_cast<size_t>(height) + 1, 0);
    for (const Item& it : items_) {
        edge_[it.rect.y0] = 1;
        edge_[it.rect.y1] = 1;
    }
    edge_[0] = 1;
    band_of_row_.resize(static_cast<size_t>(height));
    band_top_.clear();
    int32_t band = -1;
    for (int32_t y = 0; y < height; ++y) {
        if (edge_[y]) {
            band_top_.push_back(y);
            ++band;
        }
        band_of_row_[y] = band;
    }
    band_top_.push_back(height);
    const int32_t bands = band + 1;

    // Each band's entries in queue order: count, place by prefix sums.
    band_first_.assign(static_cast<size_t>(bands) + 1, 0);
    for (const Item& it : items_) {
        for (int32_t b = band_of_row_[it.rect.y0]; b <= band_of_row_[it.rect.y1 - 1]; ++b)
            ++band_first_[b + 1];
    }
    for (int32_t b = 0; b < bands; ++b) band_first_[b + 1] += band_first_[b];
    entries_.resize(band_first_[bands]);
    band_fill_.assign(band_first_.begin(), band_first_.end() - 1);
    for (uint32_t i = 0; i < items_.size(); ++i) {
        const RasterRect& r = items_[i].rect;
        for (int32_t b = band_of_row_[r.y0]; b <= band_of_row_[r.y1 - 1]; ++b)
            entries_[band_fill_[b]++] = Entry{i, 0, 0};
    }

    for (int32_t b = 0; b < bands; ++b) {
        const uint32_t first = band_first_[b], end = band_first_[b + 1];
        if (first == end) continue;
        const int32_t top = band_top_[b], bottom = band_top_[b + 1];
        // Last to first: what is still open when a draw's turn comes is what it shows.
        covered_.clear();
        spans_.clear();
        for (uint32_t k = end; k-- > first;) {
            Entry& e = entries_[k];
            const RasterRect& r = items_[e.item].rect;
            e.first_span = static_cast<uint32_t>(spans_.size());
            AddVisible(r.x0, r.x1);
            e.span_count = static_cast<uint32_t>(spans_.size()) - e.first_span;
            if (counters) {
                int64_t shown = 0;
                for (uint32_t s = e.first_span; s < spans_.size(); ++s)
                    shown += spans_[s].x1 - spans_[s].x0;
                counters->hidden_pixels +=
                    static_cast<uint64_t>((r.x1 - r.x0 - shown) * int64_t{bottom - top});
            }
            if (r.opaque) Cover(r.x0, r.x1);
        }
        // First to last: the draws over what they show.
        for (uint32_t k = first; k < end; ++k) {
            const Entry& e = entries_[k];
            const Item& it = items_[e.item];
            for (uint32_t s = 0; s < e.span_count; ++s) {
                const Span& span = spans_[e.first_span + s];
                Raster_FillRectangle(it.setup, it.rect, span.x0, span.x1, top, bottom);
            }
        }
    }
}

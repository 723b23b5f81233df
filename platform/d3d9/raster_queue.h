// Rectangle draws held back until their pixels are needed, then drawn band by band with every
// part that a later opaque rectangle covers left out. Per pixel the draws that show are applied
// in the order they came, so the result is exactly that of drawing each at once; a band stays
// in the cache while all its draws pass over it. Private to platform/d3d9.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/d3d9/raster.h"

class RasterQueue {
  public:
    // Draws held back at most; the next one flushes them first (bounds memory and latency).
    static constexpr size_t kLimit = 4096;

    bool Empty() const { return items_.empty(); }
    bool Full() const { return items_.size() >= kLimit; }
    // The pixels the queued draws go to (all go to the same target), or null when empty.
    const uint8_t* Target() const { return items_.empty() ? nullptr : items_[0].setup.target.bits; }
    // Queues a prepared, non-empty rectangle. Draws to another target must be flushed first.
    void Add(const RasterSetup& setup, const RasterRect& rect);
    // Draws everything queued and empties the queue; the pixels left out are counted. Its
    // memory is kept for the next frame.
    void Flush(RasterCounters* counters);

  private:
    struct Item {
        RasterSetup setup;
        RasterRect rect;
    };
    struct Span {
        int32_t x0, x1;
    };
    // One entry of a band's list: a queued item and where its visible spans are.
    struct Entry {
        uint32_t item;
        uint32_t first_span;
        uint32_t span_count;
    };

    void FlushBands(RasterCounters* counters);
    // The parts of [x0, x1) that covered_ leaves open, appended to spans_.
    void AddVisible(int32_t x0, int32_t x1);
    // Adds [x0, x1) to covered_.
    void Cover(int32_t x0, int32_t x1);

    std::vector<Item> items_;
    // Scratch of a flush, kept to avoid allocating again.
    std::vector<uint8_t> edge_;  // per target row: a band starts here
    std::vector<int32_t> band_of_row_;
    std::vector<int32_t> band_top_;     // first row of each band, plus the end
    std::vector<uint32_t> band_first_;  // first entry of each band in entries_, plus the end
    std::vector<uint32_t> band_fill_;
    std::vector<Entry> entries_;
    std::vector<Span> covered_;
    std::vector<Span> spans_;
};

// How often programs have asked gdi32 for the calls whose cost matters per frame: object
// creation, selection and colour changes. Tests read them to check that work is not repeated.
#pragma once
#include <cstdint>

struct GdiCallCounts {
    uint64_t brushes_created;
    uint64_t pens_created;
    uint64_t fonts_created;
    uint64_t objects_selected;
    uint64_t text_colours_set;
    uint64_t back_colours_set;
    uint64_t texts_drawn;
    uint64_t records_made;  // objects and device contexts that needed new memory (not reused)
};

GdiCallCounts& Gdi_CallCounts();
// Objects and device contexts made and not yet freed.
uint64_t Gdi_LiveHandles();

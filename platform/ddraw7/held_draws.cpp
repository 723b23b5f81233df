// The DirectDraw object's held-back draws: holding blits and Direct3D 7 rectangles for one
// target, and drawing them with the shared planner when the pixels are needed.
#include "platform/ddraw7/held_draws.h"

#include "platform/ddraw7/blit_rows.h"
#include "platform/ddraw7/ddraw_state.h"
#include "platform/ddraw7/pixel_format.h"

bool DDraw7_HoldForAnother(DDraw7State& s, IDirectDrawSurface7* target) {
    DDHeldQueue& q = s.held;
    DDraw7_Flush(s);
    if (!q.enabled) return false;
    q.target = target;
    return true;
}

void DDraw7_HoldBlit(DDraw7State& s, int32_t x, int32_t y, int32_t w, int32_t h,
                     IDirectDrawSurface7* source, int32_t sx, int32_t sy, bool keyed, bool opaque) {
    const DDSurfaceMemory& from = source->RawMemory();
    DDHeldDraw& d = s.held.draws.Next();
    D7Rect& r = d.rect;
    r.x0 = x;
    r.y0 = y;
    r.x1 = x + w;
    r.y1 = y + h;
    r.tx0 = sx;
    r.ty0 = sy;
    r.texels = from.bits;
    r.texel_pitch = from.pitch;
    r.key = source->SourceKey();
    d.kind = keyed ? DDHeldKind::kKeyedBlit : DDHeldKind::kBlit;
    s.held.draws.Hold(raster::HeldRect{x, y, x + w, y + h, opaque});
    ++s.counters.held_draws;
}

void DDraw7_HoldGeneric(DDraw7State& s, DDHeldDraw* draw, const D7Setup& setup) {
    draw->setup = static_cast<uint32_t>(s.held.setups.size());
    s.held.setups.push_back(setup);
}

void DDraw7_FlushHeldDraws(DDraw7State& s) {
    DDHeldQueue& q = s.held;
    if (q.draws.Empty()) return;
    const DDSurfaceMemory& m = q.target->RawMemory();
    const D7Image target{m.bits, m.pitch, m.width, m.height, m.format};
    const int32_t bpp = dd7px::BytesPerPixel(m.format);
    const D7Setup* setups = q.setups.data();
    s.counters.hidden_pixels += q.draws.Flush(
        m.height, [&](const DDHeldDraw& d, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
            const D7Rect& r = d.rect;
            if (d.kind == DDHeldKind::kQuad) {
                D7Raster_FillRectangle(target, setups + d.setup, r, x0, x1, y0, y1);
                return;
            }
            const raster::RowBlock rows = raster::PartRows(r, m.bits, m.pitch, bpp, x0, x1, y0, y1);
            if (d.kind == DDHeldKind::kBlit)
                DDBlit_CopyBlock(rows, m.format);
            else
                DDBlit_KeyedRows(rows, m.format, r.key);
        });
    q.setups.clear();
    q.target = nullptr;
}

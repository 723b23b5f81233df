// Blits between surfaces: BltFast (one-to-one copies, with or without the source colour key)
// and Blt (copies that may stretch, colour fills, and the windowed picture on the desktop's
// primary surface). The row loops are the sprite drawing of the DirectDraw 7 screen: hot paths.
#include <cstring>
#include <vector>

#include "platform/ddraw7/blit_rows.h"
#include "platform/ddraw7/ddraw_state.h"
#include "platform/ddraw7/pixel_format.h"
#include "platform/host/video.h"

namespace {

bool Inside(const RECT& r, const DDSurfaceMemory& m) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           r.right <= m.width && r.bottom <= m.height;
}

// A one-to-one copy of `src` (inside `from`) to (x, y) of `to`. A keyed copy within one surface
// goes through a copy of the source rows, since a pixel may be both read and written.
void CopyRect(const DDSurfaceMemory& to, int32_t x, int32_t y, const DDSurfaceMemory& from,
              const RECT& src, bool keyed, uint32_t key) {
    const int32_t bpp = dd7px::BytesPerPixel(to.format);
    const int32_t w = src.right - src.left, h = src.bottom - src.top;
    raster::RowBlock c{to.bits + static_cast<int64_t>(y) * to.pitch + static_cast<int64_t>(x) * bpp,
                       from.bits + static_cast<int64_t>(src.top) * from.pitch +
                           static_cast<int64_t>(src.left) * bpp,
                       to.pitch,
                       from.pitch,
                       w,
                       h};
    if (!keyed) {
        DDBlit_CopyRows(c, to.format);
        return;
    }
    std::vector<uint8_t> staged;
    if (to.bits == from.bits) {
        const size_t row_bytes = static_cast<size_t>(w) * bpp;
        staged.resize(row_bytes * h);
        for (int32_t r = 0; r < h; ++r) {
            std::memcpy(staged.data() + r * row_bytes,
                        c.src + static_cast<int64_t>(r) * c.src_pitch, row_bytes);
        }
        c.src = staged.data();
        c.src_pitch = static_cast<int64_t>(row_bytes);
    }
    DDBlit_KeyedRows(c, to.format, key);
}

// Nearest-pixel stretch of `src` onto `dst` (the unclipped destination), drawing only the part
// inside `clip`: each pixel takes the source pixel under its centre.
void StretchRect(const DDSurfaceMemory& to, const RECT& dst, const RECT& clip,
                 const DDSurfaceMemory& from, const RECT& src, bool keyed, uint32_t key) {
    const int64_t dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    const int64_t sw = src.right - src.left, sh = src.bottom - src.top;
    const uint32_t used = dd7px::UsedBits(to.format);
    // Through a copy of the source when both are one surface.
    std::vector<uint8_t> staged;
    const uint8_t* source_bits = from.bits;
    if (to.bits == from.bits) {
        staged.assign(from.bits, from.bits + static_cast<size_t>(from.pitch) * from.height);
        source_bits = staged.data();
    }
    for (int64_t y = clip.top; y < clip.bottom; ++y) {
        const int64_t sy = src.top + ((2 * (y - dst.top) + 1) * sh) / (2 * dh);
        const uint8_t* srow = source_bits + sy * from.pitch;
        uint8_t* drow = to.bits + y * to.pitch;
        for (int64_t x = clip.left; x < clip.right; ++x) {
            const int64_t sx = src.left + ((2 * (x - dst.left) + 1) * sw) / (2 * dw);
            uint32_t p = dd7px::Raw(from.format, srow, static_cast<int32_t>(sx));
            if (keyed && (p & used) == key) continue;
            dd7px::StoreRaw(to.format, drow, static_cast<int32_t>(x), p);
        }
    }
}

void Fill(const DDSurfaceMemory& m, const RECT& r, uint32_t value) {
    for (LONG y = r.top; y < r.bottom; ++y) {
        uint8_t* row = m.bits + static_cast<int64_t>(y) * m.pitch;
        for (LONG x = r.left; x < r.right; ++x) dd7px::StoreRaw(m.format, row, x, value);
    }
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
           a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    if (r.left >= r.right || r.top >= r.bottom) r = RECT{0, 0, 0, 0};
    return r;
}

}  // namespace

HRESULT IDirectDrawSurface7::BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source,
                                     RECT* source_rect, DWORD flags) {
    if (!source) return DDERR_INVALIDPARAMS;
    if (flags & ~(DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY | DDBLTFAST_WAIT)) {
        return DDERR_INVALIDPARAMS;
    }
    if (flags & DDBLTFAST_DESTCOLORKEY) return DDERR_UNSUPPORTED;
    if (HRESULT r = Usable(); r != DD_OK) return r;
    if (HRESULT r = source->Usable(); r != DD_OK) return r;
    if (Busy() || source->Busy()) return DDERR_SURFACEBUSY;
    if (!dd7px::BlitCompatible(memory_.format, source->memory_.format)) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    const DDSurfaceMemory& from = source->memory_;
    RECT src = source_rect ? *source_rect : RECT{0, 0, from.width, from.height};
    if (!Inside(src, from)) return DDERR_INVALIDRECT;
    const int64_t right = int64_t{x} + (src.right - src.left);
    const int64_t bottom = int64_t{y} + (src.bottom - src.top);
    if (right > memory_.width || bottom > memory_.height) return DDERR_INVALIDRECT;
    // A source without a key has nothing transparent.
    bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) && source->has_source_key_;
    DDraw7State& s = owner_->State();
    Touch();
    ++s.counters.blt_fasts;
    // Held back when the pixels it reads are not its own target's and the source is this
    // object's; otherwise drawn at once, after what is held.
    if (source != this && source->owner_ == owner_ && source != s.held.target &&
        DDraw7_HoldFor(s, this)) {
        const DDKeyCoverage coverage = keyed ? source->KeyCoverage() : DDKeyCoverage::kNone;
        // A source the key covers wholly draws nothing; one it leaves untouched is a copy.
        if (coverage == DDKeyCoverage::kAll) return DD_OK;
        keyed = coverage == DDKeyCoverage::kSome;
        DDraw7_HoldBlit(s, static_cast<int32_t>(x), static_cast<int32_t>(y), src.right - src.left,
                        src.bottom - src.top, source, src.left, src.top, keyed, !keyed);
        return DD_OK;
    }
    DDraw7_Flush(s);
    CopyRect(memory_, static_cast<int32_t>(x), static_cast<int32_t>(y), from, src, keyed,
             source->source_key_);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Blt(RECT* dest_rect, IDirectDrawSurface7* source, RECT* source_rect,
                                 DWORD flags, DDBLTFX* fx) {
    if (flags & ~(DDBLT_WAIT | DDBLT_KEYSRC | DDBLT_COLORFILL)) return DDERR_UNSUPPORTED;
    if (HRESULT r = Usable(); r != DD_OK) return r;
    if (Busy()) return DDERR_SURFACEBUSY;
    DDraw7_Flush(owner_->State());
    RECT dst = dest_rect ? *dest_rect : RECT{0, 0, memory_.width, memory_.height};
    if (dst.left >= dst.right || dst.top >= dst.bottom) return DDERR_INVALIDRECT;
    // The desktop's primary surface with a clipper: the picture goes to the clipper's window,
    // cut to the part of the window on the desktop.
    HWND window = nullptr;
    if ((caps_ & DDSCAPS_PRIMARYSURFACE) && clipper_ && clipper_->Window() &&
        !owner_->State().exclusive) {
        window = clipper_->Window();
    }
    RECT clip = dst;
    if (window) {
        RECT area{0, 0, 0, 0};
        if (!GetWindowRect(window, &area)) return DDERR_INVALIDPARAMS;
        clip = Intersect(Intersect(dst, area), RECT{0, 0, memory_.width, memory_.height});
        if (clip.right == 0) return DD_OK;
    } else if (!Inside(dst, memory_)) {
        return DDERR_INVALIDRECT;
    }

    if (flags & DDBLT_COLORFILL) {
        if (!fx) return DDERR_INVALIDPARAMS;
        Touch();
        Fill(memory_, clip, fx->dwFillColor & dd7px::UsedBits(memory_.format));
    } else {
        if (!source) return DDERR_INVALIDPARAMS;
        if (HRESULT r = source->Usable(); r != DD_OK) return r;
        if (source->Busy()) return DDERR_SURFACEBUSY;
        if (!dd7px::BlitCompatible(memory_.format, source->memory_.format)) {
            return DDERR_INVALIDPIXELFORMAT;
        }
        const DDSurfaceMemory& from = source->memory_;
        RECT src = source_rect ? *source_rect : RECT{0, 0, from.width, from.height};
        if (!Inside(src, from)) return DDERR_INVALIDRECT;
        const bool keyed = (flags & DDBLT_KEYSRC) && source->has_source_key_;
        Touch();
        const bool same_size = src.right - src.left == dst.right - dst.left &&
                               src.bottom - src.top == dst.bottom - dst.top;
        if (same_size && clip.left == dst.left && clip.top == dst.top && clip.right == dst.right &&
            clip.bottom == dst.bottom) {
            CopyRect(memory_, dst.left, dst.top, from, src, keyed, source->source_key_);
        } else {
            StretchRect(memory_, dst, clip, from, src, keyed, source->source_key_);
        }
    }
    ++owner_->State().counters.blts;
    if (window) {
        const int32_t bpp = dd7px::BytesPerPixel(memory_.format);
        HostFrame frame{memory_.bits + static_cast<int64_t>(clip.top) * memory_.pitch +
                            static_cast<int64_t>(clip.left) * bpp,
                        clip.right - clip.left, clip.bottom - clip.top, memory_.pitch,
                        dd7px::HostFormat(memory_.format)};
        HWND root = GetAncestor(window, GA_ROOT);
        Host_Present(root ? root : window, frame);
    }
    return DD_OK;
}

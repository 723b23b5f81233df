// The state of one DirectDraw object: cooperative level, display mode, its live surfaces, the
// timing of the simulated display, and the counters the tests read. Private to platform/ddraw7.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/ddraw7/ddraw.h"
#include "platform/ddraw7/held_draws.h"
#include "platform/ddraw7/test_hooks.h"

struct DisplayMode {
    int32_t width;
    int32_t height;
    int32_t bpp;
    DDFormat format;
};

struct DDraw7State {
    ULONG references = 1;
    HWND window = nullptr;  // the cooperative window
    bool exclusive = false;
    bool mode_set = false;  // SetDisplayMode in force (else the desktop's mode)
    DisplayMode mode{};
    std::vector<IDirectDrawSurface7*> surfaces;  // every live surface it made
    DDFormat sixteen_bit_format = DDFormat::kR5G6B5;
    // The display's refresh grid on the performance counter, from the object's creation.
    int64_t refresh_base = 0;
    bool wipe_on_restore = false;  // tests: restored memory is overwritten
    DDraw7TestCounters counters{};
    DDHeldQueue held;  // blits and quads held back (held_draws.h)
};

// Draws what is held back: everything that reads or changes pixels calls this first.
inline void DDraw7_Flush(DDraw7State& s) {
    if (!s.held.draws.Empty()) DDraw7_FlushHeldDraws(s);
}

// True when a draw onto `target` may be held back; draws held for another target are done
// first.
inline bool DDraw7_HoldFor(DDraw7State& s, IDirectDrawSurface7* target) {
    const DDHeldQueue& q = s.held;
    if (q.target == target && q.enabled && q.draws.Size() < DDHeldQueue::kLimit) return true;
    return DDraw7_HoldForAnother(s, target);
}

// Where to prepare a Direct3D 7 rectangle that may be held back: prepared there and not empty,
// DDraw7_HoldQuad holds it (made with `setup`).
inline D7Rect* DDraw7_NextQuad(DDraw7State& s) {
    return &s.held.draws.Next().rect;
}
inline void DDraw7_HoldQuad(DDraw7State& s, const D7Setup& setup) {
    DDHeldDraw& d = s.held.draws.Next();
    const D7Rect& r = d.rect;
    d.kind = DDHeldKind::kQuad;
    d.setup = 0;
    if (r.loop == D7Loop::kGeneric) DDraw7_HoldGeneric(s, &d, setup);
    s.held.draws.Hold(raster::HeldRect{r.x0, r.y0, r.x1, r.y1, r.opaque});
    ++s.counters.held_draws;
}

// The display's picture size of a mode (or of the desktop when no mode is set).
DisplayMode DDraw7_CurrentMode(const DDraw7State& s);
// Waits until the next vertical blank begins on the object's refresh grid.
void DDraw7_WaitForBlank(DDraw7State& s);
// Window procedure hook of exclusive mode (focus_hook.cpp): while `owner` holds the window
// exclusively, deactivating it loses the owner's video-memory surfaces.
void DDraw7_HookWindow(HWND window, IDirectDraw7* owner);
void DDraw7_UnhookWindow(HWND window, IDirectDraw7* owner);
// The object that holds some window exclusively, or null.
IDirectDraw7* DDraw7_ExclusiveOwner();

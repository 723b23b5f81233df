// The flipping chain: Flip makes the back buffer the shown picture (its memory and the primary's
// trade places) and hands it to the host, after the vertical blank unless asked not to wait.
#include <utility>

#include "platform/ddraw7/ddraw_state.h"
#include "platform/ddraw7/pixel_format.h"
#include "platform/host/host.h"
#include "platform/host/video.h"

HRESULT IDirectDrawSurface7::Flip(IDirectDrawSurface7* override, DWORD flags) {
    if (HRESULT r = Usable(); r != DD_OK) return r;
    DDraw7State& s = owner_->State();
    if (!(caps_ & DDSCAPS_PRIMARYSURFACE) || !back_buffer_ || !s.exclusive) {
        return DDERR_NOTFLIPPABLE;
    }
    if (override && override != back_buffer_) return DDERR_INVALIDPARAMS;
    if (HRESULT r = back_buffer_->Usable(); r != DD_OK) return r;
    if (Busy() || back_buffer_->Busy()) return DDERR_SURFACEBUSY;
    DDraw7_Flush(s);
    // With KAVRO_VSYNC the host waits for the display itself.
    if (!(flags & DDFLIP_NOVSYNC) && !Host_Settings().vsync) DDraw7_WaitForBlank(s);
    std::swap(memory_, back_buffer_->memory_);
    Touch();
    back_buffer_->Touch();
    Present();
    ++s.counters.flips;
    return DD_OK;
}

void IDirectDrawSurface7::Present() {
    HWND window = owner_->State().window;
    HWND root = GetAncestor(window, GA_ROOT);
    HostFrame frame{memory_.bits, memory_.width, memory_.height, memory_.pitch,
                    dd7px::HostFormat(memory_.format)};
    Host_Present(root ? root : window, frame);
}

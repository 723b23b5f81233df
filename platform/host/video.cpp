// Program windows on the desktop: one SDL window per shown owner, the picture scaled into it,
// and the present sequence (capture, trace, pacing, showing).
#include "platform/host/video.h"

#include <SDL.h>

#include <string>

#include "platform/host/capture.h"
#include "platform/host/faults.h"
#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/pacing.h"

namespace {

HostWindow* Find(void* owner) {
    for (HostWindow& w : HostState().windows) {
        if (w.owner == owner) return &w;
    }
    return nullptr;
}

uint32_t SdlFormat(HostPixelFormat format) {
    switch (format) {
        case HostPixelFormat::kX8R8G8B8:
            return SDL_PIXELFORMAT_RGB888;
        // The screen ignores alpha: shown as the X variants, blending off.
        case HostPixelFormat::kA8R8G8B8:
            return SDL_PIXELFORMAT_ARGB8888;
        case HostPixelFormat::kR5G6B5:
            return SDL_PIXELFORMAT_RGB565;
        case HostPixelFormat::kX1R5G5B5:
            return SDL_PIXELFORMAT_RGB555;
        case HostPixelFormat::kA1R5G5B5:
            return SDL_PIXELFORMAT_ARGB1555;
    }
    return SDL_PIXELFORMAT_RGB888;
}

void DestroySdl(HostWindow& w) {
    if (w.texture) SDL_DestroyTexture(w.texture);
    if (w.renderer) SDL_DestroyRenderer(w.renderer);
    if (w.window) SDL_DestroyWindow(w.window);
    w.texture = nullptr;
    w.renderer = nullptr;
    w.window = nullptr;
    w.texture_width = w.texture_height = 0;
}

bool CreateSdl(HostWindow& w) {
    std::string title = Host_Utf8FromCp1252(w.title.c_str());
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN;
    if (w.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    w.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                w.width, w.height, flags);
    if (!w.window) return false;
    // Nearest-neighbour scaling: pixels stay sharp squares.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // Never the renderer's vertical-blank wait: pacing keeps its own 60 a second, and a second
    // clock would beat against it (a 59.94 Hz display would drop a frame every 17 s, a 50 Hz one
    // would slow the game down).
    w.renderer = SDL_CreateRenderer(w.window, -1, SDL_RENDERER_ACCELERATED);
    if (!w.renderer) w.renderer = SDL_CreateRenderer(w.window, -1, SDL_RENDERER_SOFTWARE);
    if (!w.renderer) {
        DestroySdl(w);
        return false;
    }
    return true;
}

void ShowPicture(HostWindow& w, const HostFrame& frame) {
    if (!w.renderer || !w.shown) return;
    uint32_t format = SdlFormat(frame.format);
    if (!w.texture || w.texture_width != frame.width || w.texture_height != frame.height ||
        w.texture_format != format) {
        if (w.texture) SDL_DestroyTexture(w.texture);
        w.texture = SDL_CreateTexture(w.renderer, format, SDL_TEXTUREACCESS_STREAMING, frame.width,
                                      frame.height);
        if (!w.texture) return;
        SDL_SetTextureBlendMode(w.texture, SDL_BLENDMODE_NONE);
        w.texture_width = frame.width;
        w.texture_height = frame.height;
        w.texture_format = format;
    }
    SDL_UpdateTexture(w.texture, nullptr, frame.pixels, frame.pitch);
    int out_w = 0;
    int out_h = 0;
    SDL_GetRendererOutputSize(w.renderer, &out_w, &out_h);
    HostRect r = Host_FitPicture(out_w, out_h, frame.width, frame.height);
    SDL_Rect dst{r.x, r.y, r.width, r.height};
    SDL_SetRenderDrawColor(w.renderer, 0, 0, 0, 255);
    SDL_RenderClear(w.renderer);
    SDL_RenderCopy(w.renderer, w.texture, nullptr, &dst);
    SDL_RenderPresent(w.renderer);
}

}  // namespace

bool Host_ShowWindow(void* owner, const char* title, int32_t width, int32_t height,
                     bool fullscreen) {
    if (!owner || width <= 0 || height <= 0) return false;
    if (!Host_VideoInit()) return false;
    HostStateBlock& st = HostState();
    HostWindow* w = Find(owner);
    if (!w) {
        st.windows.emplace_back();
        w = &st.windows.back();
        w->owner = owner;
    }
    bool was_shown = w->shown;
    std::string new_title = title ? title : "";
    bool resized = w->width != width || w->height != height;
    w->title = new_title;
    w->width = width;
    w->height = height;
    // Showing again keeps the mode the user chose with Alt+Enter.
    if (!was_shown) w->fullscreen = fullscreen && !Host_Settings().windowed;
    w->screen = fullscreen;
    w->shown = true;
    if (!Host_HasDesktop()) return true;
    if (!w->window) {
        if (!CreateSdl(*w)) {
            w->shown = false;
            return false;
        }
    } else {
        std::string utf8 = Host_Utf8FromCp1252(w->title.c_str());
        SDL_SetWindowTitle(w->window, utf8.c_str());
        if (resized && !w->fullscreen) SDL_SetWindowSize(w->window, width, height);
        if (!was_shown) {
            SDL_SetWindowFullscreen(w->window, w->fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        }
    }
    SDL_ShowWindow(w->window);
    SDL_RaiseWindow(w->window);
    return true;
}

void Host_HideWindow(void* owner) {
    HostWindow* w = Find(owner);
    if (!w) return;
    w->shown = false;
    if (w->window) SDL_HideWindow(w->window);
}

void Host_DestroyWindow(void* owner) {
    auto& windows = HostState().windows;
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].owner == owner) {
            DestroySdl(windows[i]);
            windows.erase(windows.begin() + static_cast<ptrdiff_t>(i));
            break;
        }
    }
}

void Host_CloseWindows() {
    for (HostWindow& w : HostState().windows) DestroySdl(w);
    HostState().windows.clear();
    HostState().simulated.clear();
}

bool Host_WindowShown(void* owner, int32_t* width, int32_t* height) {
    HostWindow* w = Find(owner);
    if (!w || !w->shown) return false;
    if (width) *width = w->width;
    if (height) *height = w->height;
    return true;
}

void Host_Present(void* owner, const HostFrame& frame) {
    HostStateBlock& st = HostState();
    uint32_t number = ++st.present_count;
    if (frame.pixels && frame.width > 0 && frame.height > 0) Host_CaptureFrame(number, frame);
    if (Host_TraceEnabled()) {
        std::string line = "present " + std::to_string(number);
        Host_Trace(line.data(), line.size());
    }
    Host_FaultsAfterPresent(owner, number);
    if (Host_Settings().vsync) Host_PaceFrame();
    HostWindow* w = Find(owner);
    bool shown_by_sdl = w && w->shown && w->renderer;
    if (shown_by_sdl && frame.pixels && frame.width > 0 && frame.height > 0) {
        ShowPicture(*w, frame);
    }
}

int64_t Host_NextRefresh(int64_t base, int64_t now, int32_t rate, int64_t* tick) {
    if (rate <= 0) rate = 60;
    int64_t since = now > base ? now - base : 0;
    // The first refresh strictly after `now`, counted on the grid in whole nanoseconds from
    // `base` (never rounded to milliseconds, which would pace 16 ms frames at 62.5 Hz).
    int64_t n = since * rate / 1000000000 + 1;
    // Grid times are whole nanoseconds (rounded down): one may equal `now` exactly.
    if (n * 1000000000 / rate <= since) ++n;
    if (tick) *tick = n;
    return base + n * 1000000000 / rate;
}

uint32_t Host_PresentCount() {
    return HostState().present_count;
}

void Host_DesktopSize(int32_t* width, int32_t* height) {
    int32_t w = 1024;
    int32_t h = 768;
    SDL_DisplayMode mode;
    if (Host_VideoInit() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        w = mode.w;
        h = mode.h;
    }
    if (width) *width = w;
    if (height) *height = h;
}

void Host_SetCursorVisible(bool visible) {
    if (HostState().video_started) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

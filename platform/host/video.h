// The desktop side of a program window's picture: the SDL window that shows it (full screen,
// scaled with its aspect kept, or windowed), frame capture, the present trace and pacing.
// Owners are opaque pointers (the stand-ins pass their HWND); no SDL type crosses this header.
#pragma once
#include <cstdint>

enum class HostPixelFormat { kX8R8G8B8, kA8R8G8B8, kR5G6B5, kX1R5G5B5, kA1R5G5B5 };

struct HostFrame {
    const void* pixels;
    int32_t width;
    int32_t height;
    int32_t pitch;  // bytes from one row to the next
    HostPixelFormat format;
};

// Shows `owner` on the desktop at this picture size (title in Windows-1252). Full screen unless
// KAVRO_WINDOWED; headless, nothing is shown but the size is kept. Returns false when no video.
bool Host_ShowWindow(void* owner, const char* title, int32_t width, int32_t height,
                     bool fullscreen);
void Host_HideWindow(void* owner);
void Host_DestroyWindow(void* owner);
// Presents one frame of `owner`: writes the capture PNG and the "present N" trace line, waits
// for the next pacing deadline when pacing is on (pacing.h), and shows the picture where there
// is a desktop.
void Host_Present(void* owner, const HostFrame& frame);
// Presents so far (the N of the trace), from 1.
uint32_t Host_PresentCount();
// The display's refresh rate in Hz (60 headless or when unknown).
int32_t Host_RefreshRate();
// The time (ns) of the first deadline after `now` on a grid of `rate` deadlines a second
// starting at `base`, and its number on the grid in `tick`. The pacing grid.
int64_t Host_NextRefresh(int64_t base, int64_t now, int32_t rate, int64_t* tick);

// The size of the desktop the windows are placed on (the dummy display's headless).
void Host_DesktopSize(int32_t* width, int32_t* height);
// Whether the host keeps `owner` shown, and the picture size it keeps for it.
bool Host_WindowShown(void* owner, int32_t* width, int32_t* height);

// Where a picture lands in an output area: the largest whole factor that fits, or a scale-down
// with the aspect kept when even factor 1 does not fit; centred, the rest letterboxed.
struct HostRect {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};
HostRect Host_FitPicture(int32_t area_width, int32_t area_height, int32_t picture_width,
                         int32_t picture_height);

// Shows or hides the mouse cursor over the program's windows.
void Host_SetCursorVisible(bool visible);

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
// for the refresh when KAVRO_VSYNC is set, and shows the picture where there is a desktop.
void Host_Present(void* owner, const HostFrame& frame);
// Presents so far (the N of the trace), from 1.
uint32_t Host_PresentCount();
// The display's refresh rate in Hz (60 headless or when unknown).
int32_t Host_RefreshRate();

// The host's own state block, shared by the files of platform/host only.
#pragma once
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/events.h"
#include "platform/host/fault_state.h"
#include "platform/host/host.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

// One program window as the desktop knows it.
struct HostWindow {
    void* owner = nullptr;
    std::string title;  // Windows-1252
    int32_t width = 0;  // picture size
    int32_t height = 0;
    bool shown = false;
    bool fullscreen = false;       // currently full screen (Alt+Enter toggles)
    SDL_Window* window = nullptr;  // only with a desktop
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int32_t texture_width = 0;
    int32_t texture_height = 0;
    uint32_t texture_format = 0;
    bool renderer_vsync = false;  // the renderer waits for the vertical blank itself
};

struct HostStateBlock {
    HostSettings settings;
    bool settings_loaded = false;
    bool sdl_started = false;  // SDL_Init(0) done
    bool video_started = false;
    bool audio_started = false;
    std::FILE* trace = nullptr;
    bool trace_failed = false;

    // Video.
    std::vector<HostWindow> windows;
    uint32_t present_count = 0;
    int64_t pace_base = 0;    // time of the present that began the run of paced frames, ns
    int64_t pace_frames = 0;  // frames paced since then
    // Capture.
    bool capture_parsed = false;
    std::vector<std::pair<uint32_t, uint32_t>> capture_ranges;  // empty: every frame
    bool capture_dir_made = false;
    bool capture_failed = false;

    // KAVRO_FAULTS while the program runs.
    HostFaultState faults;

    // Events made by the test hooks, waiting for Host_PollEvent.
    std::deque<HostEvent> simulated;

    // Audio.
    uint32_t audio_device = 0;
    int32_t audio_users = 0;
    int32_t audio_rate = 0;

    // Controllers.
    bool joysticks_started = false;
    std::vector<std::string> joystick_names;
    std::vector<void*> joystick_handles;  // SDL_Joystick of each index, opened on first read
};

HostStateBlock& HostState();
// SDL_Init(0) with the drivers the settings call for, once.
bool Host_StartSdl();
void Host_CloseTrace();
// Video side of Host_Shutdown: destroys every SDL window.
void Host_CloseWindows();
void Host_CloseAudio();
// Nanoseconds of the monotonic clock (the same clock as QueryPerformanceCounter).
int64_t Host_Now();

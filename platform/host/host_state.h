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
    bool screen = false;           // the program's full-screen picture (its close ends the run)
    SDL_Window* window = nullptr;  // only with a desktop
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int32_t texture_width = 0;
    int32_t texture_height = 0;
    uint32_t texture_format = 0;
};

struct HostStateBlock {
    HostSettings settings;
    bool settings_loaded = false;
    bool sdl_started = false;  // SDL_Init(0) done
    bool video_started = false;
    bool video_refused = false;  // no desktop driver opened (said once on standard error)
    bool audio_started = false;
    bool audio_refusal_said = false;  // "no sound output" said on standard error
    std::FILE* trace = nullptr;

    // Video.
    std::vector<HostWindow> windows;
    uint32_t present_count = 0;
    int64_t pace_base = 0;    // time of the present that began the pacing grid, ns
    int64_t pace_frames = 0;  // deadlines of the grid passed so far
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

    // The keyboard as the key events left it: keys held, and keys pressed since the last read,
    // so that a tap between two reads still counts once. 0x80 = down.
    uint8_t keys_held[256] = {};
    uint8_t keys_pressed[256] = {};

    // Game controllers read as keys (pads.cpp).
    bool pads_started = false;
    bool pads_tried = false;
    bool pads_changed = true;         // plugged in or out since the last scan
    int32_t pad_devices = -1;         // SDL's joystick count at the last scan
    std::vector<void*> pads;          // SDL_GameController of each open controller
    std::vector<void*> virtual_pads;  // SDL_Joystick of the test hooks' virtual controllers

    // Controllers of the DirectInput enumeration.
    bool joysticks_started = false;
    std::vector<std::string> joystick_names;
    std::vector<void*> joystick_handles;  // SDL_Joystick of each index, opened on first read
};

HostStateBlock& HostState();
// SDL_Init(0) with the drivers the settings call for, once.
bool Host_StartSdl();
// Opens the KAVRO_TRACE file if it is not open; one that cannot be opened ends the run.
void Host_OpenTrace();
void Host_CloseTrace();
// Video side of Host_Shutdown: destroys every SDL window.
void Host_CloseWindows();
void Host_CloseAudio();
// Says once on standard error that no sound output opens, with SDL's reason; returns false.
bool Host_NoSoundOutput();
// Starts SDL's game-controller subsystem once (headless only for the test hooks' virtual
// controllers); false when there is none.
bool Host_StartPads();
// Ors the keys the game controllers hold into `keys` (0x80 = down).
void Host_PadKeys(uint8_t keys[256]);
// Pad side of Host_Shutdown, before SDL ends.
void Host_ClosePads();
// A key event: `down` presses (held, and counted for the next read), otherwise releases.
void Host_NoteKey(uint8_t scan, bool down);
// Forgets the keys held, as when the keyboard goes to another window.
void Host_ReleaseKeys();
// Nanoseconds of the monotonic clock (the same clock as QueryPerformanceCounter).
int64_t Host_Now();

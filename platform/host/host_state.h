// The host's own state block, shared by the files of platform/host only.
#pragma once
#include <cstdio>

#include "platform/host/host.h"

struct HostStateBlock {
    HostSettings settings;
    bool settings_loaded = false;
    bool sdl_started = false;  // SDL_Init(0) done
    bool video_started = false;
    bool audio_started = false;
    std::FILE* trace = nullptr;
    bool trace_failed = false;
};

HostStateBlock& HostState();
void Host_CloseTrace();

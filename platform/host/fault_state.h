// The host's record of the KAVRO_FAULTS schedule while a program runs. Private to platform/host.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/host/faults.h"

struct HostFaultRun {
    HostFault fault;
    bool begun = false;
    bool ended = false;
    uint32_t passes_left = 0;
    void* owner = nullptr;  // the window that presented when it began
};

struct HostFaultState {
    bool parsed = false;  // the setting is read at the first present or pump pass
    std::vector<HostFaultRun> runs;
    uint32_t device_losses = 0;  // never goes back, so stand-ins can compare counts
    int32_t lasting_losses = 0;
};

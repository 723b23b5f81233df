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

// Whether the setting has been read, and the losses begun, are in g_host_fault_counts (faults.h).
struct HostFaultState {
    std::vector<HostFaultRun> runs;
    int32_t lasting_losses = 0;
};

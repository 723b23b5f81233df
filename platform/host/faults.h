// Faults injected into a running program by the KAVRO_FAULTS setting, so that tests can take the
// real executables through a lost device or a lost focus without changing them. The host starts
// and ends the faults; the screen stand-ins ask here whether their device is to be lost.
//
// A fault begins after a given present and lasts a number of frames counted by the program's
// message pump (each drained queue is one pass), because nothing is presented while the device
// or the focus is gone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class HostFaultKind {
    kLoseDevice,  // the screen device is lost, as in a display-mode switch
    kFocusLoss,   // the program's window loses the focus to another program
    kClose,       // the desktop asks the program's window to close (its close button)
};

struct HostFault {
    HostFaultKind kind = HostFaultKind::kLoseDevice;
    uint32_t after_present = 0;  // begins right after this present (from 1)
    uint32_t passes = 0;         // message-pump passes it lasts; 0 = a loss that ends at once
};

// Parses a KAVRO_FAULTS list: `lose-device@N`, `lose-device@N-M`, `focus-loss@N`,
// `focus-loss@N-M` or `close@N`, comma-separated, names in any case. N-M lasts M - N passes.
// False with a message naming the bad entry.
bool Host_ParseFaults(const std::string& text, std::vector<HostFault>* faults, std::string* error);

// What the stand-ins read of the schedule on every draw, kept apart from the rest so that the
// read is one load: whether the setting has been read yet, and the device losses begun so far.
struct HostFaultCounts {
    bool parsed = false;
    uint32_t device_losses = 0;  // never goes back, so stand-ins can compare counts
};
extern constinit HostFaultCounts g_host_fault_counts;
// Reads the setting (once after each reload of the settings) and returns the device losses.
uint32_t Host_ReadFaultSchedule();

// Device losses begun so far (only ever grows). A stand-in keeps the count it has seen and
// loses its device when the count moves on.
inline uint32_t Host_DeviceLosses() {
    const HostFaultCounts& c = g_host_fault_counts;
    return c.parsed ? c.device_losses : Host_ReadFaultSchedule();
}
// True while a device loss lasts: the device can be neither reset nor restored yet.
bool Host_DeviceLossLasting();

// Called by the host itself: after each present (with the window that presented), and each
// time the message pump finds the desktop's queue empty.
void Host_FaultsAfterPresent(void* owner, uint32_t present);
void Host_FaultsPumpPass();

// Quit requests: the pending one, the signal handlers that make them, the trace line.
#include "platform/host/quit.h"

#include <signal.h>

#include <atomic>
#include <cstring>
#include <string>

#include "platform/host/host.h"
#include "platform/host/test_hooks.h"

namespace {

// Written by signal handlers: a lock-free atomic only.
std::atomic<int32_t> g_request{static_cast<int32_t>(HostQuitReason::kNone)};
static_assert(std::atomic<int32_t>::is_always_lock_free);

bool g_delivered = false;
int32_t g_catchers = 0;
struct sigaction g_previous_int;
struct sigaction g_previous_term;

void OnSignal(int signal) {
    Host_RequestQuit(signal == SIGINT ? HostQuitReason::kInterrupt : HostQuitReason::kTerminate);
}

const char* NameOf(HostQuitReason reason) {
    switch (reason) {
        case HostQuitReason::kClose:
            return "close";
        case HostQuitReason::kInterrupt:
            return "SIGINT";
        case HostQuitReason::kTerminate:
            return "SIGTERM";
        case HostQuitReason::kNone:
            break;
    }
    return "none";
}

}  // namespace

HostQuitReason Host_QuitRequest() {
    return static_cast<HostQuitReason>(g_request.load(std::memory_order_relaxed));
}

void Host_RequestQuit(HostQuitReason reason) {
    int32_t none = static_cast<int32_t>(HostQuitReason::kNone);
    g_request.compare_exchange_strong(none, static_cast<int32_t>(reason));
}

void Host_CatchQuitSignals(bool on) {
    if (on) {
        if (g_catchers++ > 0) return;
        struct sigaction action;
        std::memset(&action, 0, sizeof(action));
        action.sa_handler = &OnSignal;
        sigemptyset(&action.sa_mask);
        // A wait in progress (a paced present) resumes; the request is read at the next frame.
        // The handler is used once: a second signal of the kind ends the process at once.
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        sigaction(SIGINT, &action, &g_previous_int);
        sigaction(SIGTERM, &action, &g_previous_term);
        return;
    }
    if (g_catchers <= 0 || --g_catchers > 0) return;
    sigaction(SIGINT, &g_previous_int, nullptr);
    sigaction(SIGTERM, &g_previous_term, nullptr);
}

void Host_QuitDelivered() {
    if (g_delivered) return;
    g_delivered = true;
    if (Host_TraceEnabled()) {
        std::string line = std::string("quit ") + NameOf(Host_QuitRequest());
        Host_Trace(line.data(), line.size());
    }
}

void Host_ResetQuit() {
    g_request.store(static_cast<int32_t>(HostQuitReason::kNone));
    g_delivered = false;
}

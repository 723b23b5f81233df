// The KAVRO_FAULTS schedule: parsing the list, beginning each fault after its present, ending it
// after its pump passes, and the trace lines that show both.
#include "platform/host/faults.h"

#include <cctype>

#include "platform/host/frame_numbers.h"
#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/test_hooks.h"

namespace {

const char* NameOf(HostFaultKind kind) {
    switch (kind) {
        case HostFaultKind::kLoseDevice:
            return "lose-device";
        case HostFaultKind::kFocusLoss:
            return "focus-loss";
        case HostFaultKind::kClose:
            return "close";
    }
    return "";
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return std::string();
    size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool ParseOne(const std::string& entry, HostFault* fault, std::string* why) {
    size_t at = entry.find('@');
    if (at == std::string::npos) {
        *why = "no '@' before the present number";
        return false;
    }
    std::string name;
    for (char c : entry.substr(0, at)) {
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (name == "lose-device") {
        fault->kind = HostFaultKind::kLoseDevice;
    } else if (name == "focus-loss") {
        fault->kind = HostFaultKind::kFocusLoss;
    } else if (name == "close") {
        fault->kind = HostFaultKind::kClose;
    } else {
        *why = "unknown fault \"" + name + "\"";
        return false;
    }
    std::string when = entry.substr(at + 1);
    bool is_range = false;
    uint32_t last = 0;
    if (!Host_ParseFrameRange(when, &fault->after_present, &last, &is_range)) {
        *why = "bad present number \"" + when + "\" (presents count from 1)";
        return false;
    }
    if (fault->kind == HostFaultKind::kClose && is_range) {
        *why = "a close request has no length";
        return false;
    }
    if (!is_range) {
        // A lone focus loss is over after one frame; a lone device loss at once.
        fault->passes = fault->kind == HostFaultKind::kFocusLoss ? 1 : 0;
    } else if (last <= fault->after_present) {
        *why = "range \"" + when + "\" does not run forwards";
        return false;
    } else {
        fault->passes = last - fault->after_present;
    }
    return true;
}

void TraceFault(const HostFaultRun& run, const char* what) {
    if (!Host_TraceEnabled()) return;
    std::string line = std::string("fault ") + NameOf(run.fault.kind) + " " + what;
    Host_Trace(line.data(), line.size());
}

HostFaultState& Faults() {
    HostFaultState& f = HostState().faults;
    if (!g_host_fault_counts.parsed) {
        g_host_fault_counts.parsed = true;
        f.runs.clear();
        f.lasting_losses = 0;
        std::vector<HostFault> list;
        std::string error;
        if (!Host_ParseFaults(Host_Settings().faults, &list, &error)) {
            Host_SettingError("KAVRO_FAULTS: " + error);
        }
        for (const HostFault& fault : list) f.runs.push_back(HostFaultRun{fault});
    }
    return f;
}

void End(HostFaultState& f, HostFaultRun& run) {
    run.ended = true;
    if (run.fault.kind == HostFaultKind::kLoseDevice) {
        --f.lasting_losses;
    } else if (run.fault.kind == HostFaultKind::kFocusLoss) {
        Host_SimulateFocus(run.owner, true);
    }
    TraceFault(run, "ends");
}

}  // namespace

bool Host_ParseFaults(const std::string& text, std::vector<HostFault>* faults, std::string* error) {
    faults->clear();
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t comma = text.find(',', pos);
        if (comma == std::string::npos) comma = text.size();
        std::string entry = Trim(text.substr(pos, comma - pos));
        pos = comma + 1;
        if (entry.empty()) continue;
        HostFault fault;
        std::string why;
        if (!ParseOne(entry, &fault, &why)) {
            if (error) {
                *error = "bad fault \"" + entry + "\": " + why +
                         " (expected lose-device@N, lose-device@N-M, focus-loss@N, "
                         "focus-loss@N-M or close@N)";
            }
            faults->clear();
            return false;
        }
        faults->push_back(fault);
    }
    return true;
}

constinit HostFaultCounts g_host_fault_counts;

uint32_t Host_ReadFaultSchedule() {
    Faults();
    return g_host_fault_counts.device_losses;
}

bool Host_DeviceLossLasting() {
    return Faults().lasting_losses > 0;
}

void Host_FaultsAfterPresent(void* owner, uint32_t present) {
    HostFaultState& f = Faults();
    for (HostFaultRun& run : f.runs) {
        if (run.begun || run.fault.after_present != present) continue;
        run.begun = true;
        run.owner = owner;
        run.passes_left = run.fault.passes;
        TraceFault(run, "begins");
        if (run.fault.kind == HostFaultKind::kLoseDevice) {
            ++g_host_fault_counts.device_losses;
            ++f.lasting_losses;
            if (run.passes_left == 0) End(f, run);
        } else if (run.fault.kind == HostFaultKind::kFocusLoss) {
            Host_SimulateFocus(owner, false);
        } else {
            // Through the desktop's own path: a close event of the window, read by the pump.
            Host_SimulateClose(owner);
            End(f, run);
        }
    }
}

void Host_FaultsPumpPass() {
    HostFaultState& f = Faults();
    for (HostFaultRun& run : f.runs) {
        if (!run.begun || run.ended) continue;
        if (run.passes_left > 0) --run.passes_left;
        if (run.passes_left == 0) End(f, run);
    }
}

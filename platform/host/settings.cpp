// Reads the KAVRO_* environment settings that steer the platform layer.
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>

#include "platform/host/faults.h"
#include "platform/host/host.h"
#include "platform/host/host_state.h"

namespace {

std::string EnvString(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool EnvFlag(const char* name) {
    std::string v = EnvString(name);
    return !v.empty() && v != "0";
}

std::vector<std::string> SplitLowerList(const std::string& text) {
    std::vector<std::string> out;
    std::string item;
    auto flush = [&] {
        size_t a = item.find_first_not_of(" \t");
        size_t b = item.find_last_not_of(" \t");
        if (a != std::string::npos) out.push_back(item.substr(a, b - a + 1));
        item.clear();
    };
    for (char c : text) {
        if (c == ',') {
            flush();
        } else {
            item += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    flush();
    return out;
}

// The run-time libraries KAVRO_MISSING may name: every library the loader offers, and Direct3D 7,
// which DirectDraw carries inside it. A name outside this list would be ignored silently and the
// run would test something else than was asked for.
const char* const kKnownLibraries[] = {"d3d9.dll",   "ddraw.dll",   "d3dim700.dll", "dinput.dll",
                                       "dsound.dll", "msimg32.dll", "comctl32.dll", "uxtheme.dll"};

void CheckMissingNames(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (Host_IsKnownLibrary(name.c_str())) continue;
        std::string known;
        for (const char* k : kKnownLibraries) known += std::string(known.empty() ? "" : ", ") + k;
        Host_SettingError("KAVRO_MISSING: unknown library \"" + name + "\"; known: " + known);
    }
}

}  // namespace

bool Host_IsKnownLibrary(const char* dll_name) {
    if (!dll_name) return false;
    for (const char* k : kKnownLibraries) {
        if (strcasecmp(k, dll_name) == 0) return true;
    }
    return false;
}

void Host_ReloadSettings() {
    HostSettings& s = HostState().settings;
    s.headless = EnvFlag("KAVRO_HEADLESS");
    s.windowed = EnvFlag("KAVRO_WINDOWED");
    // Shown on a desktop the game is paced unless asked not to; headless runs (tests,
    // benchmarks) run flat out unless asked to be paced.
    std::string vsync = EnvString("KAVRO_VSYNC");
    s.vsync = vsync.empty() ? !s.headless : vsync != "0";
    s.keys_file = EnvString("KAVRO_KEYS");
    s.record_file = EnvString("KAVRO_RECORD");
    s.capture_dir = EnvString("KAVRO_CAPTURE");
    s.capture_frames = EnvString("KAVRO_CAPTURE_FRAMES");
    s.trace_file = EnvString("KAVRO_TRACE");
    s.missing = SplitLowerList(EnvString("KAVRO_MISSING"));
    s.faults = EnvString("KAVRO_FAULTS");
    HostState().settings_loaded = true;
    // Derived from the settings: worked out again on first use.
    HostState().capture_parsed = false;
    HostState().capture_dir_made = false;
    g_host_fault_counts.parsed = false;
    HostState().video_refused = false;
    Host_CloseTrace();
    // A library list that cannot be used ends the run before anything starts; the trace file
    // is opened, or refused, at its first line.
    CheckMissingNames(s.missing);
}

const HostSettings& Host_Settings() {
    if (!HostState().settings_loaded) Host_ReloadSettings();
    return HostState().settings;
}

bool Host_IsMarkedMissing(const char* dll_name) {
    if (!dll_name) return false;
    for (const std::string& m : Host_Settings().missing) {
        if (strcasecmp(m.c_str(), dll_name) == 0) return true;
    }
    return false;
}

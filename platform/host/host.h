// The host: the one part of the program that talks to SDL2 and the desktop. Everything above
// sees only this header (no SDL types), so the stand-ins stay testable headless.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Environment settings of the platform layer, read once.
struct HostSettings {
    bool headless = false;             // KAVRO_HEADLESS=1: SDL's dummy video and audio drivers
    bool windowed = false;             // KAVRO_WINDOWED=1
    bool vsync = false;                // pacing (KAVRO_VSYNC): on unless headless or set to 0
    std::string keys_file;             // KAVRO_KEYS
    std::string record_file;           // KAVRO_RECORD
    std::string capture_dir;           // KAVRO_CAPTURE
    std::string capture_frames;        // KAVRO_CAPTURE_FRAMES, unparsed
    std::string trace_file;            // KAVRO_TRACE
    std::vector<std::string> missing;  // KAVRO_MISSING, lower case
    std::string faults;                // KAVRO_FAULTS, unparsed (faults.h)
};

const HostSettings& Host_Settings();
// Re-reads the environment; tests change settings between cases with this.
void Host_ReloadSettings();

// True when KAVRO_MISSING names this run-time library (case-insensitive).
bool Host_IsMarkedMissing(const char* dll_name);
// True for the names KAVRO_MISSING accepts; any other name there ends the run.
bool Host_IsKnownLibrary(const char* dll_name);

// True when a real desktop is reachable and the program is not headless.
bool Host_HasDesktop();

// Starts SDL's video subsystem with the driver the settings call for. Headless selects the dummy
// driver explicitly and refuses any other. Returns false when no video is to be had.
bool Host_VideoInit();
bool Host_AudioInit();
// Closes everything SDL opened; called on process exit.
void Host_Shutdown();

// A setting the host cannot use (a malformed keyboard script, frame list, ...): one clear line
// on standard error naming the setting and the fault, then the process ends with exit code 2.
// A run that silently ignored it would test something else than was asked for.
[[noreturn]] void Host_SettingError(const std::string& message);

// Appends one line (no newline in `line`) to the trace file when KAVRO_TRACE is set.
bool Host_TraceEnabled();
void Host_Trace(const char* line, size_t length);

// A modal message box on the desktop, or one line on standard error without one.
// Returns the pressed button (1 = OK).
int Host_MessageBox(uint32_t flags, const char* caption, const char* text);

// Converts 8-bit Windows-1252 text to UTF-8 for SDL.
std::string Host_Utf8FromCp1252(const char* text);

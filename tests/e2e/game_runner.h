// Runs a real deliverable as a child process in a run directory, headless, with a keyboard
// script, and collects what the player would have seen: the captured frames, the texts drawn on
// each presented frame and the message boxes, from the trace.
#pragma once
#include <sys/types.h>
#include <cstdint>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A captured frame: 8-bit RGB, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    uint32_t At(int x, int y) const {
        const uint8_t* p = rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
        return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
};
// Reads a PNG file with libpng; an empty picture when it cannot be read.
Picture ReadPicture(const std::filesystem::path& file);

// The seven display lines of one presented frame, read back from the trace.
struct Hud {
    bool complete = false;  // all seven lines found at their places
    std::string top;        // the text at (500, 1)
    int score = 0, body = 0, feet = 0, head = 0, slope_base = 0, tile_row = 0;
};

struct GameRun {
    int exit_code = -1;  // -1: killed after the time limit, or not started
    std::vector<std::string> trace;
    std::string errors;                           // standard error
    std::vector<std::vector<std::string>> texts;  // texts[n - 1]: "X Y TEXT" lines of present n
    std::vector<std::string> messages;            // "FLAGS CAPTION<TAB>TEXT"
    std::map<int, Picture> frames;                // by present number
    int presents = 0;
    Hud HudOf(int present) const;
};

struct RunOptions {
    std::string keys;                      // the keyboard script
    std::string capture_frames;            // KAVRO_CAPTURE_FRAMES; empty: no capture
    std::vector<std::string> environment;  // further NAME=VALUE settings (these win)
    bool headless = true;                  // KAVRO_HEADLESS=1
    int time_limit_seconds = 90;
    // Called once the process runs, with its id and the "out" directory (trace, recording).
    std::function<void(pid_t, const std::filesystem::path&)> while_running;
};

// The deliverable's path in the build's run directory.
std::string DeliverablePath(const std::string& name);
// Runs `exe` with `dir` as its current directory (the trace, script and captures go to a
// sub-directory "out" of it, which is emptied first) and waits for its end.
GameRun RunGame(const std::string& exe, const std::filesystem::path& dir,
                const RunOptions& options);
// The lines of a text file; none when it cannot be read.
std::vector<std::string> FileLines(const std::filesystem::path& file);
// A fresh empty directory for one test.
std::filesystem::path ScratchDirectory(const std::string& name);

// The deliverables the reliability tests run, and how to run one headless in a folder: a
// keyboard script, a trace file and further KAVRO_* settings. Cases of a deliverable that does
// not play the game yet are skipped, so the tests can stand before its backend is finished.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tests/reliability/program_run.h"
#include "tests/reliability/scratch_folder.h"

struct Deliverable {
    std::string name;        // "kavro-dx9"
    std::string program;     // path of the executable
    std::string backend;     // "DX 9" as the game shows it
    bool may_be_unfinished;  // its backend is still being built: skipped until it plays
};

const std::vector<Deliverable>& Deliverables();
const Deliverable& DeliverableNamed(const std::string& name);
// The deliverables' names, for parameterised tests.
std::vector<std::string> DeliverableNames();
// "kavro_dx9": a deliverable's name as a test name part.
std::string TestNameOf(const std::string& name);

// True when a run with "1 Escape" presents a frame. Checked once per build of the executable:
// the answer is kept beside it (".NAME.plays", with the executable's size and time).
bool PlaysTheGame(const Deliverable& deliverable);

// One headless run in `folder`: `keys` is written there as the keyboard script, the trace goes
// to trace.txt there, and `settings` are added.
struct GameRun {
    RunResult result;
    std::string trace_path;
};
GameRun RunGame(const Deliverable& deliverable, const ScratchFolder& folder,
                const std::string& keys,
                std::vector<std::pair<std::string, std::string>> settings = {},
                int timeout_seconds = 120, double sample_every_seconds = 0);

// The window caption of a deliverable's messages, as standard error shows it (UTF-8).
std::string CaptionPrefix(const Deliverable& deliverable);

// Skips the current test when `deliverable` does not play the game yet.
#define SKIP_UNLESS_PLAYING(deliverable)                                                   \
    do {                                                                                   \
        if (!PlaysTheGame(deliverable)) {                                                  \
            GTEST_SKIP() << (deliverable).name << " does not play the game yet (a run of " \
                         << "\"1 Escape\" presents no frame)";                             \
        }                                                                                  \
    } while (0)

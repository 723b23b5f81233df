// The two deliverables, whether each plays the game, and headless runs of them.
#include "tests/reliability/deliverables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/reliability/trace_file.h"

namespace fs = std::filesystem;

const std::vector<Deliverable>& Deliverables() {
    static const std::vector<Deliverable> list = {
        {"kavro-dx9", KAVRO_DX9_PROGRAM, "DX 9"},
        {"kavro-dx7", KAVRO_DX7_PROGRAM, "DX 7"},
    };
    return list;
}

const Deliverable& DeliverableNamed(const std::string& name) {
    for (const Deliverable& d : Deliverables()) {
        if (d.name == name) return d;
    }
    return Deliverables().front();
}

std::vector<std::string> DeliverableNames() {
    std::vector<std::string> names;
    for (const Deliverable& d : Deliverables()) names.push_back(d.name);
    return names;
}

std::string TestNameOf(const std::string& name) {
    std::string out;
    for (char c : name) out += (c == '-' || c == '.') ? '_' : c;
    return out;
}

bool PlaysTheGame(const Deliverable& deliverable) {
    static std::map<std::string, bool> known;
    auto it = known.find(deliverable.name);
    if (it != known.end()) return it->second;
    ScratchFolder folder;
    CopyLevel(folder);
    GameRun run = RunGame(deliverable, folder, "1 Escape\n");
    const bool plays = run.result.exit_code == 0 && ReadTrace(run.trace_path).presents >= 1;
    known[deliverable.name] = plays;
    return plays;
}

PresentsNothingNote::~PresentsNothingNote() {
    if (!::testing::Test::HasFailure() || PlaysTheGame(deliverable_)) return;
    ADD_FAILURE() << deliverable_.name << " presents nothing: a run of \"1 Escape\" on the "
                  << "shipped level presented no frame, so the failures above may all come "
                  << "from that";
}

GameRun RunGame(const Deliverable& deliverable, const ScratchFolder& folder,
                const std::string& keys,
                const std::vector<std::pair<std::string, std::string>>& settings,
                int timeout_seconds, double sample_every_seconds) {
    GameRun run;
    folder.Write("keys.txt", keys);
    run.trace_path = folder.File("trace.txt");
    // The trace is appended to: each run starts its own.
    std::error_code ignored;
    std::filesystem::remove(run.trace_path, ignored);
    ChildOptions options;
    options.program = deliverable.program;
    options.folder = folder.Path().string();
    options.settings = {{"KAVRO_HEADLESS", "1"},
                        {"KAVRO_KEYS", folder.File("keys.txt")},
                        {"KAVRO_TRACE", run.trace_path}};
    options.settings.insert(options.settings.end(), settings.begin(), settings.end());
    options.error_file = folder.File("stderr.txt");
    options.quiet = true;
    options.time_limit_seconds = timeout_seconds;
    options.sample_every_seconds = sample_every_seconds;
    run.result = RunChild(options);
    return run;
}

std::string CaptionPrefix(const Deliverable& deliverable) {
    // The title's byte 0xB4 (acute accent) as UTF-8.
    return "Xolm - " + deliverable.backend + " Jump\xC2\xB4n Run";
}

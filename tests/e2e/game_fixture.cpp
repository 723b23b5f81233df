// The end-to-end fixture: scratch directories, the check that names a deliverable which presents
// nothing, and the flat test level.
#include "tests/e2e/game_fixture.h"

#include <cstdlib>
#include <map>

namespace fs = std::filesystem;

namespace {

// Whether the deliverable runs the game: one frame of a test level, then Escape.
bool PlaysTheGame(const std::string& name) {
    static std::map<std::string, bool> known;
    auto it = known.find(name);
    if (it != known.end()) return it->second;
    const fs::path dir = ScratchDirectory("probe-" + name);
    FlatLevel().WriteTo(dir);
    RunOptions options;
    options.keys = "1 Escape\n";
    const GameRun run = RunGame(DeliverablePath(name), dir, options);
    fs::remove_all(dir);
    bool plays = false;
    for (const auto& line : run.trace) plays |= line == "present 1";
    return known[name] = plays;
}

}  // namespace

void GameTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
        if (c == '/') c = '-';
    dir_ = ScratchDirectory(name);
}

void GameTest::TearDown() {
    // A deliverable that presents nothing fails every test that plays: say so once it failed.
    if (HasFailure() && !PlaysTheGame(GetParam())) {
        ADD_FAILURE() << GetParam() << " presents nothing: a run of \"1 Escape\" on the flat "
                      << "test level presented no frame, so the failures above may all come "
                      << "from that";
    }
    // A failing test keeps its directory (frames, trace) for a person to look at, and so does
    // every test when KAVRO_E2E_KEEP is set.
    if (!dir_.empty() && !HasFailure() && !std::getenv("KAVRO_E2E_KEEP")) fs::remove_all(dir_);
}

std::string GameTest::BackendName() const {
    return GetParam() == "kavro-dx7" ? "DX 7" : "DX 9";
}

std::string GameTest::ScreenLibrary() const {
    return GetParam() == "kavro-dx7" ? "ddraw.dll" : "d3d9.dll";
}

GameRun GameTest::Play(const TestLevel& level, const RunOptions& options) {
    level.WriteTo(dir_);
    return RunGame(Exe(), dir_, options);
}

GameRun GameTest::Play(const TestLevel& level, const std::string& keys, const std::string& frames) {
    RunOptions options;
    options.keys = keys;
    options.capture_frames = frames;
    return Play(level, options);
}

TestLevel FlatLevel() {
    TestLevel level(59, 20);
    level.Ground(kGroundRow);
    level.Marker(20, kGroundRow - 1);
    return level;
}

// The deliverables with a damaged installation: the GFX folder missing or unreadable, tileset
// images that cannot be read or are damaged, a level map that is missing, a folder, or full of
// random cells. Each ends in the game's clear message or plays, with exit code 0.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <random>

#include "tests/reliability/deliverables.h"
#include "tests/reliability/trace_file.h"

namespace fs = std::filesystem;

namespace {

constexpr char kShortPlay[] = "1-30 Right\n31 Escape\n";

class HostileFileTest : public ::testing::TestWithParam<std::string> {
  protected:
    const Deliverable& Game() const { return DeliverableNamed(GetParam()); }

    void SetUp() override { CopyLevel(folder_); }
    void TearDown() override { const PresentsNothingNote note(Game()); }

    // The run ends normally after every one of its 31 frames was presented.
    void ExpectPlays(const std::string& why) {
        GameRun run = RunGame(Game(), folder_, kShortPlay, {}, 120);
        Trace trace = ReadTrace(run.trace_path);
        EXPECT_EQ(run.result.exit_code, 0) << why << ": " << Describe(run.result);
        EXPECT_FALSE(HasSanitizerReport(run.result.error_output)) << run.result.error_output;
        EXPECT_TRUE(trace.messages.empty()) << why;
        EXPECT_EQ(trace.presents, 31u) << why;
        last_seconds_ = run.result.Seconds();
    }

    // The run shows the level-map message ending in `problem` and ends normally.
    void ExpectMapMessage(const std::string& problem) {
        GameRun run = RunGame(Game(), folder_, kShortPlay, {}, 120);
        Trace trace = ReadTrace(run.trace_path);
        EXPECT_EQ(run.result.exit_code, 0) << Describe(run.result);
        EXPECT_EQ(run.result.error_output,
                  CaptionPrefix(Game()) + " - Map Error: The level map Kavro.Map" + problem + "\n");
        EXPECT_EQ(trace.presents, 0u);
    }

    ScratchFolder folder_;
    double last_seconds_ = 0;
};

TEST_P(HostileFileTest, GfxFolderMissingPlaysWithoutTiles) {
    fs::remove_all(folder_.Path() / "GFX");
    ExpectPlays("no GFX folder");
}

TEST_P(HostileFileTest, GfxIsAFilePlaysWithoutTiles) {
    fs::remove_all(folder_.Path() / "GFX");
    folder_.Write("GFX", "not a folder");
    ExpectPlays("GFX is a file");
}

// Without read and search rights (effective for a user other than root).
TEST_P(HostileFileTest, GfxFolderWithoutRightsPlays) {
    ASSERT_EQ(chmod((folder_.Path() / "GFX").c_str(), 0), 0);
    ExpectPlays("GFX without rights");
}

// A tileset name that is a folder, and one that is a named pipe: neither is opened as an image,
// and nothing waits on the pipe for a writer that never comes.
TEST_P(HostileFileTest, TilesetsThatAreNoFilesAreSkipped) {
    fs::path gfx = folder_.Path() / "GFX";
    fs::remove(gfx / "kavro_world.png");
    fs::create_directory(gfx / "kavro_world.png");
    fs::remove(gfx / "kavro_items.png");
    ASSERT_EQ(mkfifo((gfx / "kavro_items.png").c_str(), 0600), 0);
    ExpectPlays("tilesets are a folder and a pipe");
}

TEST_P(HostileFileTest, DamagedTilesetImagesPlayWithoutTheirTiles) {
    fs::path gfx = folder_.Path() / "GFX";
    std::string world = ReadFileBytes(gfx / "kavro_world.png");
    std::string items = ReadFileBytes(gfx / "kavro_items.png");
    ASSERT_GT(world.size(), 1000u);
    struct Damage {
        const char* what;
        std::string world, items;
    };
    std::string huge = world.substr(0, 33);  // signature and header chunk only
    // Width and height of the header chunk set to 2^31 - 1; the chunk's checksum then fails.
    for (int i = 16; i < 24; ++i) huge[i] = (i % 4 == 0) ? '\x7F' : '\xFF';
    std::mt19937 random(11);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const Damage damages[] = {
        {"empty files", "", ""},
        {"cut in half", world.substr(0, world.size() / 2), items.substr(0, items.size() / 2)},
        {"only the first 100 bytes", world.substr(0, 100), items.substr(0, 100)},
        {"a header claiming a vast picture", huge, huge},
        {"random bytes", noise, noise.substr(0, 57)},
        {"the images swapped with the map", ReadFileBytes(folder_.Path() / "Kavro.Map"),
         world.substr(world.size() / 3)},
    };
    for (const Damage& d : damages) {
        folder_.Write("GFX/kavro_world.png", d.world);
        folder_.Write("GFX/kavro_items.png", d.items);
        ExpectPlays(d.what);
    }
}

TEST_P(HostileFileTest, MissingMapShowsItsMessage) {
    fs::remove(folder_.Path() / "Kavro.Map");
    ExpectMapMessage(" was not found in " + fs::canonical(folder_.Path()).string() + ".");
}

TEST_P(HostileFileTest, MapThatIsAFolderShowsTheMissingMessage) {
    fs::remove(folder_.Path() / "Kavro.Map");
    fs::create_directory(folder_.Path() / "Kavro.Map");
    ExpectMapMessage(" was not found in " + fs::canonical(folder_.Path()).string() + ".");
}

TEST_P(HostileFileTest, MapOfAnotherFormatShowsItsMessage) {
    folder_.Write("Kavro.Map", ReadFileBytes(folder_.Path() / "GFX" / "kavro_world.png"));
    ExpectMapMessage(" is not a level map.");
}

// A 14-byte file that declares the largest grid the engine holds (2048 x 2048 cells): the cells
// past the end of the file read as zeros without reading the file millions of times.
TEST_P(HostileFileTest, TinyMapDeclaringAHugeGridLoadsQuickly) {
    std::string header("LVD[20]\x20\x00\xFF\x07\xFF\x07\x00", 14);
    folder_.Write("Kavro.Map", header);
    ExpectPlays("a 2048 x 2048 grid declared in 14 bytes");
#if !defined(KAVRO_SANITIZED)
    EXPECT_LT(last_seconds_, 10.0) << "loading a declared grid must not read past the end";
#endif
}

// The shipped level's header with random cell records, names and info text: random tiles,
// attributes (deadly cells among them), alphas and animations of any speed.
TEST_P(HostileFileTest, RandomCellsUnderTheRealHeaderPlay) {
    const std::string shipped = ReadFileBytes(folder_.Path() / "Kavro.Map");
    for (uint32_t seed : {5u, 6u, 7u}) {
        std::string level = shipped;
        std::mt19937 random(seed);
        for (size_t i = 14; i < level.size(); ++i) level[i] = static_cast<char>(random());
        folder_.Write("Kavro.Map", level);
        GameRun run = RunGame(Game(), folder_, kShortPlay, {}, 120);
        Trace trace = ReadTrace(run.trace_path);
        EXPECT_EQ(run.result.exit_code, 0) << "seed " << seed << ": " << Describe(run.result);
        EXPECT_FALSE(HasSanitizerReport(run.result.error_output)) << run.result.error_output;
        // It plays, or the start landed on a deadly cell and the map is refused by its message.
        if (trace.messages.empty()) {
            EXPECT_GE(trace.presents, 1u) << "seed " << seed;
        } else {
            EXPECT_NE(run.result.error_output.find(" - Map Error: The level map Kavro.Map"),
                      std::string::npos)
                << run.result.error_output;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Deliverables, HostileFileTest, ::testing::ValuesIn(DeliverableNames()),
                         [](const auto& info) { return TestNameOf(info.param); });

}  // namespace

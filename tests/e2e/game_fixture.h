// The end-to-end fixture: each test runs on every deliverable; when a test fails on a deliverable
// that presents no frame at all, the failure says so.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/e2e/game_runner.h"
#include "tests/e2e/test_level.h"

class GameTest : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string Exe() const { return DeliverablePath(GetParam()); }
    // "DX 9" or "DX 7".
    std::string BackendName() const;
    // The window title, as the program's 8-bit text (0xB4 for the accent).
    std::string Title() const { return "Xolm - " + BackendName() + " Jump\xB4n Run"; }
    // The library whose absence the screen library reports.
    std::string ScreenLibrary() const;

    // Writes `level` into this test's directory and plays it.
    GameRun Play(const TestLevel& level, const RunOptions& options);
    GameRun Play(const TestLevel& level, const std::string& keys, const std::string& frames = "");
    // Plays whatever is in this test's directory.
    GameRun PlayHere(const RunOptions& options) { return RunGame(Exe(), dir_, options); }

    std::filesystem::path dir_;
};

// The deliverables every end-to-end test runs on.
#define KAVRO_ON_EVERY_DELIVERABLE(suite)                                                      \
    INSTANTIATE_TEST_SUITE_P(Deliverables, suite, ::testing::Values("kavro-dx9", "kavro-dx7"), \
                             [](const ::testing::TestParamInfo<std::string>& info) {           \
                                 return info.param == "kavro-dx9" ? std::string("dx9")         \
                                                                  : std::string("dx7");        \
                             })

// The flat test level: ground from row 13 of a 60 x 21 map, start marker at column 20, row 12.
// Standing there, view_x = 320 and view_y = 32 * 5 - 14 = 146.
TestLevel FlatLevel();
constexpr int kGroundRow = 13;
constexpr int kStandingViewY = 146;
constexpr int kStartViewX = 320;

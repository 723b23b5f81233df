// Keyboard scripts: what a script says is down in each frame, the errors of malformed lines,
// and recordings that replay to the same snapshots.
#include "platform/dinput/key_script.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/dinput/key_recorder.h"

namespace {

std::vector<int> Down(KeyScript& script, uint32_t frame) {
    uint8_t keys[256];
    script.KeysAt(frame, keys);
    std::vector<int> out;
    for (int i = 0; i < 256; ++i) {
        if (keys[i]) {
            EXPECT_EQ(keys[i], 0x80);
            out.push_back(i);
        }
    }
    return out;
}

TEST(KeyScriptTest, FramesRangesAndOverlapsCombine) {
    KeyScript script;
    std::string error;
    ASSERT_TRUE(
        script.Parse("# a route\n"
                     "1-60 Right\n"
                     "30 Right Space   # jump\n"
                     "\n"
                     "  45-50\tUp 0x1d\r\n"
                     "100 escape\n",
                     &error))
        << error;
    EXPECT_EQ(Down(script, 1), (std::vector<int>{0xCD}));
    EXPECT_EQ(Down(script, 30), (std::vector<int>{0x39, 0xCD}));
    EXPECT_EQ(Down(script, 31), (std::vector<int>{0xCD}));
    EXPECT_EQ(Down(script, 45), (std::vector<int>{0x1D, 0xC8, 0xCD}));
    EXPECT_EQ(Down(script, 60), (std::vector<int>{0xCD}));
    EXPECT_EQ(Down(script, 61), (std::vector<int>{}));
    EXPECT_EQ(Down(script, 100), (std::vector<int>{0x01}));
    EXPECT_EQ(Down(script, 101), (std::vector<int>{}));
    // Asking again from the start gives the same answers.
    EXPECT_EQ(Down(script, 30), (std::vector<int>{0x39, 0xCD}));
}

TEST(KeyScriptTest, EntriesOutOfOrderStillApply) {
    KeyScript script;
    ASSERT_TRUE(script.Parse("10-12 Left\n2-11 Down\n", nullptr));
    EXPECT_EQ(Down(script, 2), (std::vector<int>{0xD0}));
    EXPECT_EQ(Down(script, 11), (std::vector<int>{0xCB, 0xD0}));
    EXPECT_EQ(Down(script, 12), (std::vector<int>{0xCB}));
}

TEST(KeyScriptTest, EveryNamedKeyHasItsScanCode) {
    EXPECT_EQ(KeyScript_CodeOf("Escape"), 0x01);
    EXPECT_EQ(KeyScript_CodeOf("Space"), 0x39);
    EXPECT_EQ(KeyScript_CodeOf("Up"), 0xC8);
    EXPECT_EQ(KeyScript_CodeOf("Down"), 0xD0);
    EXPECT_EQ(KeyScript_CodeOf("Left"), 0xCB);
    EXPECT_EQ(KeyScript_CodeOf("Right"), 0xCD);
    EXPECT_EQ(KeyScript_CodeOf("Return"), 0x1C);
    EXPECT_EQ(KeyScript_CodeOf("LeftCtrl"), 0x1D);
    EXPECT_EQ(KeyScript_CodeOf("LeftAlt"), 0x38);
    EXPECT_EQ(KeyScript_CodeOf("LeftShift"), 0x2A);
    EXPECT_EQ(KeyScript_CodeOf("0xFF"), 0xFF);
    EXPECT_EQ(KeyScript_CodeOf("0x4b"), 0x4B);
    for (const char* bad : {"0x", "0x100", "0xG1", "0x00", "Enter", "", "x1"}) {
        EXPECT_EQ(KeyScript_CodeOf(bad), -1) << bad;
    }
    EXPECT_EQ(KeyScript_NameOf(0xCD), "Right");
    EXPECT_EQ(KeyScript_NameOf(0x4B), "0x4B");
}

TEST(KeyScriptTest, MalformedLinesAreNamedByNumber) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"1 Right\n\n# c\nRight 5\n", "line 4: bad frame \"Right\""},
        {"0 Space\n", "line 1: bad frame \"0\""},
        {"1 Space\n5-3 Up\n", "line 2: frame range \"5-3\" runs backwards"},
        {"1-x Up\n", "line 1: bad frame range \"1-x\""},
        {"2 Up Jump\n", "line 1: unknown key \"Jump\""},
        {"1 Up\n2 0x1FF\n", "line 2: unknown key \"0x1FF\""},
        {"-4 Up\n", "line 1: bad frame range \"-4\""},
    };
    for (const Case& c : cases) {
        KeyScript script;
        std::string error;
        EXPECT_FALSE(script.Parse(c.text, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.expected, 0), 0u) << error;
        EXPECT_TRUE(script.entries().empty());
    }
}

TEST(KeyRecorderTest, RunsOfEqualFramesBecomeRanges) {
    EXPECT_EQ(KeyRecorder::LineOf(3, 3, {0x39}), "3 Space");
    EXPECT_EQ(KeyRecorder::LineOf(1, 60, {0x39, 0xCD}), "1-60 Space Right");
    EXPECT_EQ(KeyRecorder::LineOf(1, 60, {}), "");
}

TEST(KeyRecorderTest, RecordingReplaysToTheSameSnapshots) {
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "-kavro-record-test.keys";
    uint8_t frames[8][256] = {};
    frames[0][0xCD] = frames[1][0xCD] = frames[2][0xCD] = 0x80;
    frames[2][0x39] = 0x80;
    frames[5][0x4B] = frames[6][0x4B] = 0x80;
    frames[7][0xFF] = 0x80;
    {
        KeyRecorder recorder;
        std::string error;
        ASSERT_TRUE(recorder.Open(path, &error)) << error;
        for (uint32_t f = 0; f < 8; ++f) recorder.Add(f + 1, frames[f]);
    }
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\n1-2 Right\n3 Space Right\n6-7 0x4B\n8 0xFF\n"), std::string::npos)
        << text.str();
    KeyScript script;
    ASSERT_TRUE(script.Parse(text.str(), nullptr));
    for (uint32_t f = 0; f < 8; ++f) {
        uint8_t keys[256];
        script.KeysAt(f + 1, keys);
        EXPECT_EQ(std::memcmp(keys, frames[f], 256), 0) << "frame " << f + 1;
    }
    std::remove(path.c_str());
}

TEST(KeyRecorderTest, UnwritablePathIsReported) {
    KeyRecorder recorder;
    std::string error;
    EXPECT_FALSE(recorder.Open("/nonexistent-dir/x.keys", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(recorder.IsOpen());
}

}  // namespace
